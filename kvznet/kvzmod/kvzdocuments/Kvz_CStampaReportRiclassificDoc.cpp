#include "kvznet/kvzmod/kvzdocuments/Kvz_CStampaReportRiclassificDoc.h"

#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificato.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlException.h"
#include "platform/plvoledb/SqlTable.h"

namespace {
// The results' column a report names.
CString ColonnaValore(const CString& colonna)
{
	if (colonna == "0")
		return "Valore";
	if (colonna == "A" || colonna == "B" || colonna == "C")
		return "ValoreBudget" + colonna;
	for (int i = 1; i <= 10; ++i)
		if (colonna == CString::Formatted("%d", i))
			return "Valore" + colonna;
	return CString();
}
}  // namespace

DataMon Kvz_CStampaReportRiclassificDoc::Kvz_GetValoreDelMese(DataInt aEsercizio, DataStr aModello, DataInt aMese,
															 DataStr aCodice, DataStr aColonna, DataEnum aTipoDato)
{
	DataMon valore;
	const CString colonna = ColonnaValore(aColonna.GetString());
	if (colonna.IsEmpty())
		return valore;
	Kvz_TRiclassificato rec;
	try
	{
		SqlTable table(&rec, nullptr, this);
		table.Open(FALSE);
		table.SelectAll();
		table.AddParam("p1", rec.f_Esercizio);
		table.AddFilterColumn(rec.f_Esercizio);
		table.AddParam("p2", rec.f_ModelloRiclassific);
		table.AddFilterColumn(rec.f_ModelloRiclassific);
		table.AddParam("p3", rec.f_Mese);
		table.AddFilterColumn(rec.f_Mese);
		table.AddParam("p4", rec.f_CodRiclassificato);
		table.AddFilterColumn(rec.f_CodRiclassificato);
		table.AddParam("p5", rec.f_TipoDatoPianoBase);
		table.AddFilterColumn(rec.f_TipoDatoPianoBase);
		table.SetParamValue("p1", aEsercizio);
		table.SetParamValue("p2", aModello);
		table.SetParamValue("p3", aMese);
		table.SetParamValue("p4", aCodice);
		table.SetParamValue("p5", aTipoDato);
		table.Query();
		if (!table.IsEmpty())
			valore = *static_cast<DataMon*>(rec.GetDataObjFromColumnName(colonna));
	}
	catch (const SqlException& e)
	{
		e.ShowError();
	}
	return valore;
}

DataBool Kvz_CStampaReportRiclassificDoc::Kvz_GetRigaQuadrim1(DataInt nRiga, DataStr& aCodice, DataStr& aDescrizione, DataMon& aImporto1, DataMon& aImporto2, DataMon& aImporto3, DataMon& aImporto4, DataMon& aImporto5, DataMon& aImporto6, DataMon& aImporto7, DataMon& aImporto8, DataMon& aImporto9, DataMon& aImporto10, DataEnum& aTipoRiga)
{
	return kvzdocuments::CopyRigaQuadrimestre(m_Quadrim[0], nRiga, aCodice, aDescrizione, KVZ_TEN_AMOUNTS(aImporto),
											  10, &aTipoRiga);
}

DataBool Kvz_CStampaReportRiclassificDoc::Kvz_GetRigaQuadrim2(DataInt nRiga, DataStr& aCodice, DataStr& aDescrizione, DataMon& aImporto1, DataMon& aImporto2, DataMon& aImporto3, DataMon& aImporto4, DataMon& aImporto5, DataMon& aImporto6, DataMon& aImporto7, DataMon& aImporto8, DataMon& aImporto9, DataMon& aImporto10, DataEnum& aTipoRiga)
{
	return kvzdocuments::CopyRigaQuadrimestre(m_Quadrim[1], nRiga, aCodice, aDescrizione, KVZ_TEN_AMOUNTS(aImporto),
											  10, &aTipoRiga);
}

DataBool Kvz_CStampaReportRiclassificDoc::Kvz_GetRigaQuadrim3(DataInt nRiga, DataStr& aCodice, DataStr& aDescrizione, DataMon& aImporto1, DataMon& aImporto2, DataMon& aImporto3, DataMon& aImporto4, DataMon& aImporto5, DataMon& aImporto6, DataMon& aImporto7, DataMon& aImporto8, DataMon& aImporto9, DataMon& aImporto10, DataEnum& aTipoRiga)
{
	return kvzdocuments::CopyRigaQuadrimestre(m_Quadrim[2], nRiga, aCodice, aDescrizione, KVZ_TEN_AMOUNTS(aImporto),
											  10, &aTipoRiga);
}
