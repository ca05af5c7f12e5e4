#pragma once
// A company database with the host's tables and the module's, a small host of our own making
// (or the demo company), and the batch documents driven through the form driver.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "kvznet/kvzmod/kvzdbl/KvzDblInterface.h"
#include "kvznet/kvzmod/kvzbatch/ImportaSaldi.h"
#include "kvznet/kvzmod/kvzbatch/InitRaggruppPdC.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRaggruppPdC.h"
#include "platform/erp/erpbasedbl/CompanyInfo.h"
#include "platform/erp/erpbasedbl/TChartOfAccounts.h"
#include "platform/erp/erpbasedbl/TLedgers.h"
#include "platform/erp/erpledgerdbl/TBalances.h"
#include "platform/erp/erpledgerdbl/TCostAccEntriesDetail.h"
#include "platform/erp/erpledgerdbl/TCostCenters.h"
#include "platform/erp/erpsetup/CompanySetup.h"
#include "platform/plvgenlib/AddOnInterfaceObj.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvges/FormDriver.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/driver/Driver.h"
#include "platform/plvoledb/driver/tests/PgTestDatabase.h"

// The add-on of one library: the test program links several libraries that export the same entry.
inline AddOnInterfaceObj* AddOnOf(const char* library)
{
	void* handle = dlopen(library, RTLD_NOW | RTLD_NOLOAD);
	auto entry = handle ? reinterpret_cast<AddOnInterfaceObj* (*)()>(dlsym(handle, "_VandrelAddOn_")) : nullptr;
	AddOnInterfaceObj* pAddOn = entry ? entry() : nullptr;
	if (handle)
		dlclose(handle);
	return pAddOn;
}

class BatchTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		static std::atomic<int> counter{0};
		m_Folder = std::filesystem::temp_directory_path() /
				   ("kvzbatch-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
		std::filesystem::create_directories(m_Folder);
		AfxGetApplicationContext()->SetEchoAssertions(FALSE);
		AfxGetApplicationContext()->ClearAssertionReports();
		// The tests registered for the server run on a schema of their own there.
		if (plv::db::testing::OnPgBackend())
		{
			KVZ_REQUIRE_PG();
			m_pPg = std::make_unique<plv::db::testing::PgSchema>(*plv::db::testing::PgTestServer());
			m_strTarget = CString(m_pPg->Target());
		}
		else
			m_strTarget = CString((m_Folder / "azienda.db").string());
		m_pConn = SqlConnection::Open(m_strTarget, SqlConnection::CREATE_IF_MISSING);
		AfxSetDefaultSqlConnection(m_pConn.get());
		std::unique_ptr<AddOnInterfaceObj> pDbl(KvzDblAddOnInterface());
		ASSERT_TRUE(pDbl);
		CPLVNamespace ns("KvzNet.KvzMod.KvzDbl");
		ASSERT_TRUE(pDbl->AOI_RegisterTables(m_pConn.get(), "", &ns));
		erp::SetupCompanyDatabase(*m_pConn);
		AfxSetApplicationDate(DataDate(15, 4, 2026));
	}

	void TearDown() override
	{
		m_Docs.reset();
		AfxSetDefaultSqlConnection(nullptr);
		m_pConn.reset();
		m_pPg.reset();
		std::filesystem::remove_all(m_Folder);
		AfxResetApplicationDate();
		AfxGetApplicationContext()->SetEchoAssertions(TRUE);
	}

	// ---- the host ------------------------------------------------------------------------------

	template <class Rec>
	void Insert(Rec& rec)
	{
		SqlTable t(&rec);
		t.Open(TRUE);
		t.AddNew(FALSE);
		t.Update();
		t.Close();
	}
	// Ledger code of 2, segments given (0: none).
	void Struttura(int seg1, int seg2 = 0, int seg3 = 0)
	{
		TChartOfAccountParameters p;
		p.f_LedgerLength = 2;
		p.f_NrOfSegments = (seg1 > 0) + (seg2 > 0) + (seg3 > 0);
		const int lens[] = {seg1, seg2, seg3};
		for (int k = 0; k < 3; ++k)
		{
			p.f_SegmentLength[k] = lens[k];
			if (lens[k])
				p.f_SegmentName[k] = CString::Formatted("Seg%d", k + 1);
		}
		Insert(p);
	}
	void Mastro(const char* code, WORD type, const char* descr = "Mastro")
	{
		TLedgers l;
		l.f_Ledger = code;
		l.f_Description = descr;
		l.f_LedgerType = DataEnum(E_LEDGERTYPE, type);
		Insert(l);
		Conto(code, FALSE, descr);
	}
	void Conto(const char* code, BOOL bSaldi, const char* descr = nullptr, BOOL bAnalitico = FALSE)
	{
		TChartOfAccounts a;
		a.f_Account = code;
		a.f_Description = descr ? CString(descr) : CString::Formatted("Conto %s", code);
		a.f_Ledger = CString(code).Left(2);
		a.f_CarriesBalances = bSaldi;
		a.f_CostAccounting = bAnalitico;
		a.f_CostAccDetail = bAnalitico;
		Insert(a);
	}
	void Esercizio(int year, const DataDate& start, const DataDate& end, BOOL bOpened = TRUE)
	{
		TCompanyFiscalYears y;
		y.f_FiscalYear = year;
		y.f_StartDate = start;
		y.f_EndDate = end;
		y.f_Opened = bOpened;
		Insert(y);
	}
	// Debit (positive) or credit (negative) of an account in a calendar month; type 1: forecast.
	void Saldo(int fiscalYear, const char* account, int year, int month, double amount, WORD type = 0)
	{
		TChartOfAccountsBalances b;
		b.f_FiscalYear = fiscalYear;
		b.f_BalanceType = DataEnum(E_BALANCETYPE, type);
		b.f_Account = account;
		b.f_BalanceYear = year;
		b.f_BalanceMonth = month;
		b.f_Debit = amount > 0 ? amount : 0.0;
		b.f_Credit = amount < 0 ? -amount : 0.0;
		Insert(b);
	}
	void Centro(const char* code)
	{
		TCostCenters c;
		c.f_CostCenter = code;
		c.f_Description = CString::Formatted("Centro %s", code);
		Insert(c);
	}
	// A cost-accounting entry line of kind (1 actual, 2 forecast), debit or credit.
	void Movimento(const char* account, const DataDate& date, const char* centre, double amount, WORD kind = 1,
				   WORD side = 0)
	{
		TCostAccEntriesDetail e;
		e.f_EntryId = ++m_nEntry;
		e.f_Line = 1;
		e.f_PostingDate = date;
		e.f_FiscalYear = date.Year();
		e.f_EntryType = DataEnum(E_COSTACCENTRYTYPE, kind);
		e.f_Account = account;
		e.f_CostCenter = centre;
		e.f_Amount = amount;
		e.f_DebitCreditSign = DataEnum(E_DEBITCREDIT, side);
		Insert(e);
	}

	// ---- the module's documents ----------------------------------------------------------------

	FormDriver Apri(CRuntimeClass* pDoc, CRuntimeClass* pView)
	{
		if (!m_Docs)
			m_Docs = std::make_unique<CDocumentSet>();
		return FormDriver(FormDriver::Open(*m_Docs, pDoc, RUNTIME_CLASS(CBatchFrame), pView));
	}
	BOOL InitRaggruppamento(bool bTutti = false)
	{
		FormDriver form = Apri(RUNTIME_CLASS(Kvz_CInitRaggruppPdCDoc), RUNTIME_CLASS(Kvz_CInitRaggruppPdCView));
		if (bTutti && !form.Press("Ripristinare ai default anche i conti gia' impostati"))
			return FALSE;
		return form.RunBatch();
	}
	FormDriver Importazione(int mese, int anno)
	{
		FormDriver form = Apri(RUNTIME_CLASS(Kvz_CImportaSaldiDoc), RUNTIME_CLASS(Kvz_CImportaSaldiView));
		EXPECT_TRUE(form.Type("Importazione saldi fino al mese:", CString::Formatted("%d", mese)));
		EXPECT_TRUE(form.Type("anno:", CString::Formatted("%d", anno)));
		return form;
	}
	static Kvz_CImportaSaldiDoc* Doc(FormDriver& form) { return static_cast<Kvz_CImportaSaldiDoc*>(form.GetDocument()); }

	// ---- reading the database ------------------------------------------------------------------

	std::optional<plv::db::Value> Scalar(const std::string& sql)
	{
		auto st = m_pConn->Db().Prepare(sql);
		if (!st->Step())
			return std::nullopt;
		return st->Column(0);
	}
	long Count(const std::string& sql)
	{
		auto v = Scalar(sql);
		return v && std::holds_alternative<std::int64_t>(*v) ? static_cast<long>(std::get<std::int64_t>(*v)) : -1;
	}
	double Number(const std::string& sql)
	{
		auto v = Scalar(sql);
		if (!v)
			return NAN;
		if (std::holds_alternative<std::int64_t>(*v))
			return static_cast<double>(std::get<std::int64_t>(*v));
		return std::holds_alternative<double>(*v) ? std::get<double>(*v) : NAN;
	}
	// A base-plan value of an account (the total, or a cost centre's) in a month; of one fiscal
	// year when more than one holds the account.
	double Piano(const char* column, const char* conto, int mese, const char* centro = "", int esercizio = 0)
	{
		return Number(std::string("SELECT ") + column + " FROM Kvz_PianoBaseR WHERE ContoKvz = '" + conto +
					  "' AND CentroCommessa = '" + centro + "' AND Mese = " + std::to_string(mese) +
					  (esercizio ? " AND Esercizio = " + std::to_string(esercizio) : std::string()));
	}
	// A value as the tests compare it: text as it is, integers in digits, nothing for null.
	static std::string Text(const plv::db::Value& v)
	{
		if (std::holds_alternative<std::string>(v))
			return std::get<std::string>(v);
		if (std::holds_alternative<std::int64_t>(v))
			return std::to_string(std::get<std::int64_t>(v));
		if (std::holds_alternative<double>(v))
			return CString::Formatted("%g", std::get<double>(v)).str();
		return "";
	}
	// An amount with two decimals, whether the database gives it as a real or an integer.
	static std::string Amount(const plv::db::Value& v)
	{
		const double d = std::holds_alternative<double>(v)			? std::get<double>(v)
						 : std::holds_alternative<std::int64_t>(v) ? static_cast<double>(std::get<std::int64_t>(v))
																	: NAN;
		return CString::Formatted("%.2f", d).str();
	}
	// Every row of a query, its columns' texts joined by `sep`, the rows joined by spaces in the
	// query's order (SQLite's group_concat and PostgreSQL's string_agg differ, so it is done here).
	std::string Joined(const std::string& sql, const char* sep = "")
	{
		auto st = m_pConn->Db().Prepare(sql);
		std::string out;
		for (bool bFirst = true; st->Step(); bFirst = false)
		{
			if (!bFirst)
				out += ' ';
			for (int i = 0; i < st->ColumnCount(); ++i)
			{
				if (i)
					out += sep;
				out += Text(st->Column(i));
			}
		}
		return out;
	}

	// A trigger after each row (`when` as "AFTER INSERT", on `table`) that runs one INSERT, written
	// as each backend writes triggers.
	void Trigger(const char* name, const char* when, const char* table, const std::string& insert)
	{
		if (m_pConn->IsServer())
		{
			m_pConn->Db().Execute(std::string("CREATE FUNCTION ") + name + "() RETURNS trigger LANGUAGE plpgsql AS "
								  "$$BEGIN " + insert + "; RETURN NULL; END$$");
			m_pConn->Db().Execute(std::string("CREATE TRIGGER ") + name + " " + when + " ON " + table +
								  " FOR EACH ROW EXECUTE FUNCTION " + name + "()");
		}
		else
			m_pConn->Db().Execute(std::string("CREATE TRIGGER ") + name + " " + when + " ON " + table + " BEGIN " +
								  insert + "; END");
	}
	// A trigger of each row that refuses it with `message`.
	void RefusingTrigger(const char* name, const char* when, const char* table, const char* message)
	{
		if (m_pConn->IsServer())
		{
			m_pConn->Db().Execute(std::string("CREATE FUNCTION ") + name + "() RETURNS trigger LANGUAGE plpgsql AS "
								  "$$BEGIN RAISE EXCEPTION '" + message + "'; END$$");
			m_pConn->Db().Execute(std::string("CREATE TRIGGER ") + name + " " + when + " ON " + table +
								  " FOR EACH ROW EXECUTE FUNCTION " + name + "()");
		}
		else
			m_pConn->Db().Execute(std::string("CREATE TRIGGER ") + name + " " + when + " ON " + table +
								  " BEGIN SELECT RAISE(ABORT, '" + message + "'); END");
	}
	void DropTrigger(const char* name, const char* table)
	{
		if (m_pConn->IsServer())
		{
			m_pConn->Db().Execute(std::string("DROP TRIGGER ") + name + " ON " + table);
			m_pConn->Db().Execute(std::string("DROP FUNCTION ") + name + "()");
		}
		else
			m_pConn->Db().Execute(std::string("DROP TRIGGER ") + name);
	}
	// From now on a commit that follows a row written to `table` (`when` as "AFTER INSERT") fails:
	// the row leaves a deferred foreign key unmet, which the database checks only at COMMIT (SQLite
	// keeps the transaction open then, PostgreSQL ends it). DropTrigger("KvzTestBlocca", table)
	// lets commits succeed again.
	void CommitFailsAfter(const char* when, const char* table)
	{
		m_pConn->Db().Execute("CREATE TABLE KvzTestPadre (Id INTEGER PRIMARY KEY)");
		m_pConn->Db().Execute("CREATE TABLE KvzTestFiglio (Padre INTEGER REFERENCES KvzTestPadre (Id) DEFERRABLE "
							  "INITIALLY DEFERRED)");
		Trigger("KvzTestBlocca", when, table, "INSERT INTO KvzTestFiglio VALUES (1)");
		if (!m_pConn->IsServer())
		{
			m_pConn->Db().Execute("PRAGMA foreign_keys = ON");
			ASSERT_EQ(Count("PRAGMA foreign_keys"), 1);
		}
	}
	void CommitFailsAfterInsertInto(const char* table) { CommitFailsAfter("AFTER INSERT", table); }
	// What the database says of the commit CommitFailsAfter() makes fail.
	const char* CommitFailure() const
	{
		return m_pConn->IsServer() ? "violates foreign key constraint" : "FOREIGN KEY constraint failed";
	}
	std::vector<CString> Shown() const
	{
		std::vector<CString> texts;
		for (auto& m : m_Ui.Messages())
			texts.push_back(m.text);
		return texts;
	}
	bool WasShown(const CString& text) const
	{
		for (auto& m : m_Ui.Messages())
			if (m.text.Find(text) >= 0)
				return true;
		return false;
	}

	std::filesystem::path m_Folder;
	std::unique_ptr<plv::db::testing::PgSchema> m_pPg;
	CString m_strTarget;  // the company database: a file of the folder, or the server's schema
	std::unique_ptr<SqlConnection> m_pConn;
	ScriptedInteraction m_Ui;
	InteractionScope m_UiScope{&m_Ui};
	std::unique_ptr<CDocumentSet> m_Docs;
	long m_nEntry = 0;
};
