#pragma once
// What the benchmarks over the demo company share: its database at a scale, its chart grouped,
// the year's ledger taken into the base plan, and the base plan read back.
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchRun.h"
#include "kvznet/kvzmod/kvzbatch/ImportaSaldi.h"
#include "kvznet/kvzmod/kvzbatch/InitRaggruppPdC.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseRighe.h"
#include "platform/erp/erpdemo/DemoCompany.h"
#include "platform/erp/erpledgerdbl/TBalances.h"
#include "platform/erp/erpledgerdbl/TCostAccEntriesDetail.h"
#include "platform/plvges/FormDriver.h"

namespace kvzbench {

// The demo company at the scale in folder/azienda.db, the default connection, with its chart of
// accounts grouped; false (said on stderr) when it cannot be made.
inline bool ApriDemo(std::unique_ptr<SqlConnection>& pConn, const std::filesystem::path& folder, int scale,
					 erp::DemoCompanySummary& demo)
{
	if (!ApriAzienda(pConn, folder))
		return false;
	demo = erp::CreateDemoCompany(*pConn, scale);
	CDocumentSet docs;
	FormDriver init(FormDriver::Open(docs, RUNTIME_CLASS(Kvz_CInitRaggruppPdCDoc), RUNTIME_CLASS(CBatchFrame),
									 RUNTIME_CLASS(Kvz_CInitRaggruppPdCView)));
	init.RunBatch();
	return true;
}

// The year's twelve months of ledger balances (and of the forecast ledger too, when asked) into
// the base plan: the host accounts taken, or -1 when the import fails.
inline long ImportaSaldi(int anno, bool bPrevisionale = false)
{
	CDocumentSet docs;
	FormDriver form(FormDriver::Open(docs, RUNTIME_CLASS(Kvz_CImportaSaldiDoc), RUNTIME_CLASS(CBatchFrame),
									 RUNTIME_CLASS(Kvz_CImportaSaldiView)));
	form.Type("Importazione saldi fino al mese:", "12");
	form.Type("anno:", CString::Formatted("%d", anno));
	if (bPrevisionale)
		form.Press("Anche contabilita' previsionale");
	if (!form.RunBatch())
		return -1;
	return static_cast<Kvz_CImportaSaldiDoc*>(form.GetDocument())->GetContiElaborati();
}

// The year's ledger into the base plan, before a benchmark over it; false (said) when it fails.
inline bool ImportaAnno(int anno)
{
	if (ImportaSaldi(anno) >= 0)
		return true;
	std::fprintf(stderr, "the import failed\n");
	return false;
}

// The demo company at the scale with its last year's ledger in the base plan: that year, or 0
// (said on stderr) when it cannot be made.
inline int ApriDemoImportata(std::unique_ptr<SqlConnection>& pConn, const std::filesystem::path& folder, int scale)
{
	erp::DemoCompanySummary demo;
	if (!ApriDemo(pConn, folder, scale, demo) || !ImportaAnno(demo.lastYear))
		return 0;
	return demo.lastYear;
}

// The grouped accounts of the year's base plan.
inline std::vector<CString> ContiPianoBase(int anno)
{
	std::vector<CString> conti;
	Kvz_TPianoBaseRighe r;
	SqlTable t(&r);
	t.Open(FALSE);
	DataStr conto;
	t.SelectSqlFun("DISTINCT \"ContoKvz\"", conto);
	t.AddParam("p1", r.f_Esercizio);
	t.AddFilterColumn(r.f_Esercizio);
	t.SetParamValue("p1", DataInt(anno));
	for (t.Query(); !t.IsEOF(); t.MoveNext())
		conti.push_back(conto.GetString());
	t.Close();
	return conti;
}

// The base plan's monthly totals of every account of the year (its rows without cost centre or
// job), read by one grouped query: the least a computation over them must read. The rows read.
inline long LeggiTotaliPianoBase(int anno, std::map<std::string, double>& totali)
{
	long righe = 0;
	Kvz_TPianoBaseRighe r;
	SqlTable t(&r);
	t.Open(FALSE);
	DataStr conto;
	DataInt mese;
	DataDbl saldo;
	t.SelectSqlFun("\"ContoKvz\"", conto);
	t.SelectSqlFun("\"Mese\"", mese);
	t.SelectSqlFun("SUM(\"SaldoContabile\")", saldo);
	t.AddParam("p1", r.f_Esercizio);
	t.AddFilterColumn(r.f_Esercizio);
	t.AddParam("p2", r.f_CentroCommessa);
	t.AddFilterColumn(r.f_CentroCommessa);
	t.m_strGroupBy = "\"ContoKvz\", \"Mese\"";
	t.SetParamValue("p1", DataInt(anno));
	t.SetParamValue("p2", DataStr(""));
	for (t.Query(); !t.IsEOF(); t.MoveNext())
	{
		totali[conto.GetString().str()] += saldo.GetValue();
		++righe;
	}
	t.Close();
	return righe;
}

// The rows the ledger import reads of a year: the host's balances and cost-accounting entries,
// one query each (the import's floor).
inline long LeggiHost(int anno)
{
	long righe = 0;
	TChartOfAccountsBalances saldo;
	SqlTable saldi(&saldo);
	saldi.Open(FALSE);
	saldi.SelectAll();
	saldi.AddParam("p1", saldo.f_FiscalYear);
	saldi.AddFilterColumn(saldo.f_FiscalYear);
	saldi.SetParamValue("p1", DataInt(anno));
	for (saldi.Query(); !saldi.IsEOF(); saldi.MoveNext())
		++righe;
	saldi.Close();
	TCostAccEntriesDetail mov;
	SqlTable movimenti(&mov);
	movimenti.Open(FALSE);
	movimenti.SelectAll();
	movimenti.AddParam("p1", mov.f_PostingDate);
	movimenti.AddFilterColumn(mov.f_PostingDate, ">=");
	movimenti.AddParam("p2", mov.f_PostingDate);
	movimenti.AddFilterColumn(mov.f_PostingDate, "<=");
	movimenti.SetParamValue("p1", DataDate(1, 1, anno));
	movimenti.SetParamValue("p2", DataDate(31, 12, anno));
	for (movimenti.Query(); !movimenti.IsEOF(); movimenti.MoveNext())
		++righe;
	movimenti.Close();
	return righe;
}

}  // namespace kvzbench
