#pragma once
// What the benchmarks over the demo company share: a database of its own in a temporary folder
// with the module's tables and the demo company at a scale, its chart grouped, and the year's
// ledger taken into the base plan.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "kvznet/kvzmod/kvzbatch/ImportaSaldi.h"
#include "kvznet/kvzmod/kvzbatch/InitRaggruppPdC.h"
#include "kvznet/kvzmod/kvzdbl/KvzDblInterface.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseRighe.h"
#include "platform/erp/erpdemo/DemoCompany.h"
#include "platform/erp/erpsetup/CompanySetup.h"
#include "platform/plvgenlib/AddOnInterfaceObj.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvges/FormDriver.h"

namespace kvzbench {

// Nobody answers: messages are taken as read, no run is stopped.
class Silent : public IInteraction
{
public:
	int MessageBox(const CString&, UINT, const CString&) override { return IDOK; }
	void Progress(const CString&) override {}
	bool AbortRequested() override { return false; }
};

// The demo company at the scale in folder/azienda.db, the default connection, with its chart of
// accounts grouped; false (said on stderr) when it cannot be made.
inline bool ApriDemo(std::unique_ptr<SqlConnection>& pConn, const std::filesystem::path& folder, int scale,
					 erp::DemoCompanySummary& demo)
{
	pConn = SqlConnection::Open((folder / "azienda.db").string(), SqlConnection::CREATE_IF_MISSING);
	AfxSetDefaultSqlConnection(pConn.get());
	std::unique_ptr<AddOnInterfaceObj> pAddOn(KvzDblAddOnInterface());
	CPLVNamespace ns("KvzNet.KvzMod.KvzDbl");
	if (!pAddOn || !pAddOn->AOI_RegisterTables(pConn.get(), "", &ns))
	{
		std::fprintf(stderr, "cannot register the module's tables\n");
		return false;
	}
	erp::SetupCompanyDatabase(*pConn);
	demo = erp::CreateDemoCompany(*pConn, scale);
	CDocumentSet docs;
	FormDriver init(FormDriver::Open(docs, RUNTIME_CLASS(Kvz_CInitRaggruppPdCDoc), RUNTIME_CLASS(CBatchFrame),
									 RUNTIME_CLASS(Kvz_CInitRaggruppPdCView)));
	init.RunBatch();
	return true;
}

// The year's twelve months of ledger balances into the base plan; false (said) when the import fails.
inline bool ImportaAnno(int anno)
{
	CDocumentSet docs;
	FormDriver form(FormDriver::Open(docs, RUNTIME_CLASS(Kvz_CImportaSaldiDoc), RUNTIME_CLASS(CBatchFrame),
									 RUNTIME_CLASS(Kvz_CImportaSaldiView)));
	form.Type("Importazione saldi fino al mese:", "12");
	form.Type("anno:", CString::Formatted("%d", anno));
	if (form.RunBatch())
		return true;
	std::fprintf(stderr, "the import failed\n");
	return false;
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

}  // namespace kvzbench
