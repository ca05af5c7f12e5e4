#include "kvznet/kvzmod/kvzdocuments/Kvz_CComparazioneRiclassificDoc.h"

#include "kvznet/kvzmod/kvzdocuments/ReportRows.h"

DataBool Kvz_CComparazioneRiclassificDoc::GetRigaComparazione(DataInt nRiga, DataStr& aCodice, DataStr& aDescrizione,
															  DataMon& aImporto1, DataMon& aImporto2,
															  DataMon& aDifferenza, DataPerc& aPercentuale,
															  DataMon& aImporto3, DataMon& aImporto4,
															  DataEnum& aTipoRiga, DataMon& aImporto5,
															  DataMon& aImporto6, DataInt& aLivello)
{
	const Kvz_RigaComparazione* r = kvzdocuments::RowAt(m_RigheComparazione, nRiga);
	if (!r)
		return DataBool(FALSE);
	aCodice = r->Codice;
	aDescrizione = r->Descrizione;
	aImporto1 = r->Importo1;
	aImporto2 = r->Importo2;
	aDifferenza = r->Differenza;
	aPercentuale = r->Percentuale;
	aImporto3 = r->Importo3;
	aImporto4 = r->Importo4;
	aTipoRiga = r->TipoRiga;
	aImporto5 = r->Importo5;
	aImporto6 = r->Importo6;
	aLivello = r->Livello;
	return DataBool(TRUE);
}
