#include "kvznet/kvzmod/kvzdbl/KvzDblInfo.h"

#include "kvznet/kvzmod/kvzdbl/Kvz_TOperatoriStampe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TTmpRiclassificazioneTesta.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"

namespace {
const char* const kSource = "KvzDblInfo";
const char* const kMethod = "KvzDblInfo::GeneraTmpRiclassificazioneTesta";

KvzDblInfo g_KvzDblInfo;

// A failed step is shown to the user; the rebuild goes on with the next step.
void MostraErrore(const CException& e)
{
	if (e.IsKindOf(SqlException::GetThisClass()))
	{
		static_cast<const SqlException&>(e).ShowError(_T(""));
		return;
	}
	ASSERT_RELEASE_FAILED("e->IsKindOf((SqlException::GetThisClass()))", kMethod, kSource);
	AfxMessageBox(e.GetMessage(), MB_OK | MB_ICONERROR);
}

// Adds the operator's row of a model header unless the work copy has it already.
void AggiungeRiga(Kvz_TUTmpRiclassificazioneTesta& upd, const Kvz_TRiclassificazioneTesta& testa,
				  const DataInt& aEsercizio, const DataStr& aOperatore, BOOL bTuttiOperatori)
{
	if (upd.FindRecord(aEsercizio, testa.f_ModelloRiclassific, aOperatore, FALSE) != TableReader::NOT_FOUND)
		return;
	Kvz_TTmpRiclassificazioneTesta* pRiga = upd.GetRecord();
	pRiga->f_Operatore = aOperatore;
	pRiga->f_Esercizio = aEsercizio;
	pRiga->f_ModelloRiclassific = testa.f_ModelloRiclassific;
	pRiga->f_Descrizione = testa.f_Descrizione;
	pRiga->f_Priorita = testa.f_Priorita;
	pRiga->f_DataCreazione = testa.f_DataCreazione;
	pRiga->f_DataUltModifica = testa.f_DataUltModifica;
	pRiga->f_DataInizio = testa.f_DataInizio;
	pRiga->f_DataFine = testa.f_DataFine;
	pRiga->f_TipoModello = testa.f_TipoModello;
	pRiga->f_FormulaCalcParametrico = testa.f_FormulaCalcParametrico;
	pRiga->f_TuttiOperatori = bTuttiOperatori;
	upd.UpdateRecord();
}
}  // namespace

KvzDblInfo* AfxGetKvzDblInfo()
{
	return &g_KvzDblInfo;
}

void KvzDblInfo::GeneraTmpRiclassificazioneTesta(const DataStr& aOperatore)
{
	SqlConnection* pConnection = AfxGetDefaultSqlConnection();
	if (!pConnection)
		return;
	DataInt aEsercizio(AfxGetApplicationDate().Year());

	// Every row is committed as it is written, whatever the callers have open.
	CPLVContext context(pConnection, nullptr);
	Kvz_TUTmpRiclassificazioneTesta upd;
	upd.SetSqlSession(context.GetUpdatableSqlSession());
	upd.SetAutocommit(TRUE);

	// The operator's rows of the year go first; the names are bound, never written into the text.
	try
	{
		Kvz_TTmpRiclassificazioneTesta tmp(FALSE);
		CString sql = CString::Formatted("DELETE FROM %s WHERE %s=? AND %s=?", tmp.GetTableName().GetString(),
										 tmp.GetColumnName(&tmp.f_Esercizio).GetString(),
										 tmp.GetColumnName(&tmp.f_Operatore).GetString());
		pConnection->ExecuteSQL(sql, {&aEsercizio, &aOperatore});
	}
	catch (const CException& e)
	{
		MostraErrore(e);
	}

	// Models open to all operators.
	try
	{
		Kvz_TRiclassificazioneTesta testa;
		SqlTable table(&testa, pConnection->GetDefaultSqlSession());
		table.Open(FALSE);
		table.SelectAll();
		table.AddParam("p1", testa.f_Esercizio);
		table.AddFilterColumn(testa.f_Esercizio);
		table.AddParam("p2", testa.f_TuttiOperatori);
		table.AddFilterColumn(testa.f_TuttiOperatori);
		table.AddSortColumn(testa.f_Esercizio);
		table.AddSortColumn(testa.f_TuttiOperatori);
		table.SetParamValue("p1", aEsercizio);
		table.SetParamValue("p2", DataBool(TRUE));
		for (table.Query(); !table.IsEOF(); table.MoveNext())
			AggiungeRiga(upd, testa, aEsercizio, aOperatore, TRUE);
		table.Close();
	}
	catch (const CException& e)
	{
		MostraErrore(e);
	}

	// Models assigned to this operator; a model without a header of the year is left out.
	try
	{
		Kvz_TOperatoriStampe operatore;
		SqlTable table(&operatore, pConnection->GetDefaultSqlSession());
		table.Open(FALSE);
		table.SelectAll();
		table.AddParam("p1", operatore.f_Esercizio);
		table.AddFilterColumn(operatore.f_Esercizio);
		table.AddParam("p3", operatore.f_OperatoreStampa);
		table.AddFilterColumn(operatore.f_OperatoreStampa);
		table.AddSortColumn(operatore.f_Esercizio);
		table.AddSortColumn(operatore.f_OperatoreStampa);
		table.SetParamValue("p1", aEsercizio);
		table.SetParamValue("p3", aOperatore);
		Kvz_TRRiclassificazioneTesta testata;
		for (table.Query(); !table.IsEOF(); table.MoveNext())
			if (testata.FindRecord(aEsercizio, operatore.f_ModelloRiclassific) == TableReader::FOUND)
				AggiungeRiga(upd, *testata.GetRecord(), aEsercizio, aOperatore, FALSE);
		table.Close();
	}
	catch (const CException& e)
	{
		MostraErrore(e);
	}

	upd.Free();
}
