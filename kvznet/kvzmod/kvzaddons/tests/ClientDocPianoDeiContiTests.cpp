#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "kvznet/kvzmod/kvzaddons/ClientDocPianoDeiConti.h"
#include "kvznet/kvzmod/kvzaddons/KvzAddOnsInterface.h"
#include "kvznet/kvzmod/kvzaddons/StrutturaPdC.h"
#include "platform/erp/erpbasedbl/ErpBaseDblTables.h"
#include "platform/erp/erpbasedbl/TChartOfAccountParameters.h"
#include "platform/erp/erpbasedbl/tests/ErpFixture.h"
#include "platform/erp/erpdemo/DemoCompany.h"
#include "platform/plvges/FormDriver.h"
#include "platform/plvoledb/driver/Driver.h"

namespace {

// ---- the structure of the codes --------------------------------------------------------------

StrutturaPdC Struttura(int l0, std::initializer_list<int> segmenti)
{
	StrutturaPdC s;
	s.L0 = l0;
	int n = 1;
	for (int l : segmenti)
		s.L[n++] = l;
	return s;
}

TEST(StrutturaPdC, LevelsUpperLimitAndPrefixes)
{
	const StrutturaPdC demo = Struttura(2, {2, 3});
	EXPECT_EQ(demo.LivelloMastro(), 3);  // a new ledger groups at TerzoLivello
	EXPECT_EQ(demo.LimiteSuperiore(), 4);
	const struct
	{
		int lunghezza, livello, prefisso;
	} codici[] = {{1, 0, 1}, {2, 1, 2}, {4, 2, 2}, {7, 3, 4}, {5, 0, 4}, {8, 0, 0}};
	for (auto& c : codici)
	{
		EXPECT_EQ(demo.LivelloDi(c.lunghezza), c.livello) << c.lunghezza;
		EXPECT_EQ(demo.LunghezzaPrefisso(c.lunghezza), c.prefisso) << c.lunghezza;
	}
	// Without segments 1 to 4 only ledgers (and shorter codes) are upper-level accounts.
	const StrutturaPdC soloMastri = Struttura(3, {0, 0, 0, 0, 2});
	EXPECT_EQ(soloMastri.LimiteSuperiore(), 3);
	EXPECT_TRUE(soloMastri.IsContoSuperiore(3));
	EXPECT_FALSE(soloMastri.IsContoSuperiore(5));
	EXPECT_EQ(soloMastri.LivelloMastro(), 6);
	EXPECT_EQ(Struttura(2, {}).LivelloMastro(), 1);
	EXPECT_EQ(Struttura(2, {2, 2, 2, 2, 2, 2, 2}).LivelloMastro(), 8);

	Kvz_TRaggruppPdC riga;
	EXPECT_EQ(LivelloDiRaggruppamento(riga), 1);
	EXPECT_EQ(ProfonditaRaggruppamento(riga), 0);
	riga.f_OttavoLivello = TRUE;
	riga.f_QuartoLivello = TRUE;
	EXPECT_EQ(LivelloDiRaggruppamento(riga), 4);
	EXPECT_EQ(ProfonditaRaggruppamento(riga), 8);
}

// ---- the client document on the demo company's chart of accounts -------------------------------

const char* const kLibreria = "Library.KvzNet.KvzMod.KvzAddOns";
const char* const kHost = "Erp.Base.ErpBaseDocuments.";

class PianoDeiConti : public ErpCompanyDb
{
protected:
	// The demo company is made once per build of the tests (each test runs in a process of its
	// own); each test works on a copy of it.
	static std::filesystem::path Modello()
	{
		std::error_code ec;
		const auto built = std::filesystem::last_write_time("/proc/self/exe", ec).time_since_epoch().count();
		const std::filesystem::path path =
			std::filesystem::path(KVZADDONS_TEST_DIR) / ("demo-" + std::to_string(built) + ".db");
		if (std::filesystem::exists(path))
			return path;
		const std::filesystem::path work = path.string() + "." + std::to_string(::getpid());
		{
			auto conn = SqlConnection::Open(work.string(), SqlConnection::CREATE_IF_MISSING);
			Registra(*conn);
			erp::CreateDemoCompany(*conn);
		}
		std::filesystem::rename(work, path);  // whole, or not at all, for the other processes
		for (const auto& e : std::filesystem::directory_iterator(path.parent_path(), ec))
			if (e.path().extension() == ".db" && e.path().filename().string().starts_with("demo-") && e.path() != path)
				std::filesystem::remove(e.path(), ec);  // of earlier builds
		return path;
	}
	static void Registra(SqlConnection& connection)
	{
		ASSERT_TRUE(erp::RegisterBaseTables(connection));
		for (CRuntimeClass* pClass : {Kvz_TRaggruppPdC::GetThisClass(), Kvz_TCodiciBudget::GetThisClass()})
			ASSERT_TRUE(connection.RegisterCatalogEntry("", CPLVNamespace(), pClass, 1));
	}

	void RegisterTables(SqlConnection& connection) override { Registra(connection); }
	void SetUp() override
	{
		ErpCompanyDb::SetUp();
		// The fixture's fresh database gives way to a copy of the demo company.
		AfxSetDefaultSqlConnection(nullptr);
		m_pConn.reset();
		std::filesystem::copy_file(Modello(), m_Folder / "azienda.db", std::filesystem::copy_options::overwrite_existing);
		for (const char* suffix : {"-wal", "-shm"})
			std::filesystem::remove(m_Folder / (std::string("azienda.db") + suffix));
		m_pConn = SqlConnection::Open((m_Folder / "azienda.db").string(), SqlConnection::OPEN_EXISTING);
		AfxSetDefaultSqlConnection(m_pConn.get());
		Registra(*m_pConn);
		Sql("INSERT INTO Kvz_CodiciBudget (CodiceBudget, Descrizione) VALUES ('B01', 'Servizi')");
		AfxSetClientDocAttacher([this](CBaseDocument* pHost, CClientDocArray* pClients) {
			m_AddOn.AOI_AttachClientDocs(pHost, pClients, CPLVNamespace(kLibreria));
		});
	}
	void TearDown() override
	{
		m_pDocs.reset();
		AfxSetClientDocAttacher(nullptr);
		ErpCompanyDb::TearDown();
	}

	FormDriver Apri(const char* documento = "DChartOfAccounts")
	{
		const CPLVNamespace ns(CString(kHost) + documento);
		const bool onFly = CString(documento) == "DChartOfAccountsAddOnFly";
		return FormDriver(onFly ? FormDriver::Open(*m_pDocs, RUNTIME_CLASS(DChartOfAccountsAddOnFly),
												   RUNTIME_CLASS(CMasterFrame), RUNTIME_CLASS(CChartOfAccountsAddOnFlyView), ns)
								: FormDriver::Open(*m_pDocs, RUNTIME_CLASS(DChartOfAccounts), RUNTIME_CLASS(CMasterFrame),
												   RUNTIME_CLASS(CChartOfAccountsView), ns));
	}
	// Shows the account in edit mode on the tab.
	static void Modifica(FormDriver& form, const char* conto)
	{
		ASSERT_TRUE(form.Find());
		ASSERT_TRUE(form.Type("Conto", conto));
		ASSERT_TRUE(form.Save()) << conto;
		ASSERT_TRUE(form.Edit()) << conto;
		ASSERT_TRUE(form.ActivateTab("CCoATabManager", "&Riclassificazioni"));
	}
	static Kvz_ClientDocPianoDeiConti* Client(FormDriver& form)
	{
		CClientDocArray* pClients = form.GetDocument()->GetClientDocs();
		return pClients->GetSize() == 1 ? DynamicDownCast<Kvz_ClientDocPianoDeiConti>(pClients->GetAt(0)) : nullptr;
	}
	// The columns of an account's grouping row, "<none>" without one.
	CString Riga(const char* conto, const char* colonne =
										 "PrimoLivello || SecondoLivello || TerzoLivello || QuartoLivello || "
										 "ModificaInAssestamento || ProponiInAssestamento")
	{
		auto st = m_pConn->Db().Prepare(
			CString::Formatted("SELECT %s FROM Kvz_RaggruppPdC WHERE Conto = '%s'", colonne, conto).str());
		if (!st->Step())
			return "<none>";
		DataStr s;
		s.SetDataValue(st->Column(0));
		return s.GetString();
	}
	long Conta(const char* where)
	{
		auto st = m_pConn->Db().Prepare(CString::Formatted("SELECT COUNT(*) FROM %s", where).str());
		st->Step();
		return static_cast<long>(std::get<std::int64_t>(st->Column(0)));
	}
	int Avvisi()
	{
		int n = 0;
		for (const ShownMessage& m : m_Ui.Messages())
			n += m.text.Find("ATTENZIONE: Il conto risulta associato") >= 0;
		return n;
	}

	KvzAddOnsInterface m_AddOn;
	std::unique_ptr<CDocumentSet> m_pDocs = std::make_unique<CDocumentSet>();
};

TEST_F(PianoDeiConti, TheLibraryAttachesToBothChartDocumentsOnly)
{
	FormDriver form = Apri();
	Kvz_ClientDocPianoDeiConti* pClient = Client(form);
	ASSERT_NE(pClient, nullptr);
	EXPECT_EQ(pClient->GetName(), "ClientDocPianoDeiConti");
	EXPECT_EQ(pClient->GetNamespace().ToString(), kLibreria);
	auto* pView = static_cast<CAbstractFormView*>(form.GetDocument()->GetFirstView());
	CTabManager* pTabs = pView->GetTabManager("CCoATabManager");
	ASSERT_NE(pTabs, nullptr);
	ASSERT_EQ(pTabs->GetDialogCount(), 2);
	EXPECT_EQ(pTabs->GetDialog(1)->GetTitle(), "&Riclassificazioni");
	EXPECT_EQ(pTabs->GetDialog(1)->GetDialogID(), 31808u);
	// Level names: "Mastro", then the host's segment names.
	EXPECT_EQ(form.Text("ADDON_PDC_NOME_LIV1"), "Mastro");
	EXPECT_EQ(form.Text("ADDON_PDC_NOME_LIV2"), "Conto");
	EXPECT_EQ(form.Text("ADDON_PDC_NOME_LIV3"), "Sottoconto");
	EXPECT_TRUE(form.Exists("Kvz_RaggruppPdC_ContoPatrimoniale"));

	// Another document of the same class under another name takes no client document.
	CDocumentSet other;
	FormDriver altro(FormDriver::Open(other, RUNTIME_CLASS(DChartOfAccounts), RUNTIME_CLASS(CMasterFrame),
									  RUNTIME_CLASS(CChartOfAccountsView), CPLVNamespace(CString(kHost) + "DAltro")));
	EXPECT_EQ(altro.GetDocument()->GetClientDocs()->GetSize(), 0);
}

TEST_F(PianoDeiConti, NewAccountsTakeTheirDefaultsFromTheLevelAbove)
{
	Sql("INSERT INTO Erp_Ledgers (Ledger, Description, LedgerType) VALUES ('28', 'Oneri straordinari', 3014659)");
	FormDriver form = Apri();
	// A new ledger groups at the deepest level of the structure (segments 2, 3): TerzoLivello.
	ASSERT_TRUE(form.New());
	ASSERT_TRUE(form.Type("Conto", "28"));
	ASSERT_TRUE(form.Type("Descrizione", "Oneri straordinari"));
	const struct
	{
		const char* colonna;
		const char* valore;
		bool modificabile;
	} mastro[] = {
		{"PrimoLivello", "No", true},		{"SecondoLivello", "No", true}, {"TerzoLivello", "Si", true},
		{"QuartoLivello", "No", false},		{"OttavoLivello", "No", false},
		{"ContoPatrimoniale", "", false},  // a ledger is not at its grouping level
		{"ModificaInAssestamento", "No", false},
	};
	for (auto& c : mastro)
	{
		EXPECT_EQ(form.Text(c.colonna), c.valore) << c.colonna;
		EXPECT_EQ(form.IsEditable(c.colonna), c.modificabile) << c.colonna;
	}
	ASSERT_TRUE(form.Type("CodiceBudget", "B01"));
	EXPECT_EQ(form.Text("ADDON_PDC_DES_COD_BUDGET"), "Servizi");
	EXPECT_FALSE(form.Type("CodiceBudget", "B99"));  // a budget code that does not exist
	ASSERT_TRUE(form.Save());
	EXPECT_EQ(Riga("28"), "001000");
	EXPECT_EQ(Riga("28", "CodiceBudget"), "B01");

	// An account of the next level copies its ledger's row.
	ASSERT_TRUE(form.New());
	ASSERT_TRUE(form.Type("Conto", "2801"));
	EXPECT_EQ(form.Text("TerzoLivello"), "Si");
	EXPECT_EQ(form.Text("CodiceBudget"), "B01");
	EXPECT_EQ(form.Text("ADDON_PDC_DES_COD_BUDGET"), "Servizi");
	ASSERT_TRUE(form.Save());
	EXPECT_EQ(Riga("2801"), "001000");
	EXPECT_EQ(Riga("2801", "Conto || CodiceBudget"), "2801B01");

	// A sub-account at the grouping level: adjustable; detailed in cost accounting when the host says so.
	ASSERT_TRUE(form.New());
	ASSERT_TRUE(form.ActivateTab("CCoATabManager", "Generale"));
	ASSERT_TRUE(form.Press("Gestito in contabilità analitica"));
	ASSERT_TRUE(form.Press("Dettaglio per centri di costo e commesse"));
	ASSERT_TRUE(form.Type("Conto", "2801001"));
	EXPECT_EQ(form.Text("ModificaInAssestamento"), "Si");
	EXPECT_EQ(form.Text("ProponiInAssestamento"), "Si");
	EXPECT_EQ(form.Text("EsplodiInAnalitica"), "Si");
	EXPECT_TRUE(form.IsEditable("TipoDettaglio"));
	EXPECT_TRUE(form.IsEditable("ContoPatrimoniale"));  // economic, at its grouping level
	EXPECT_TRUE(form.IsEditable("InversioneSegno"));
	EXPECT_FALSE(form.IsEditable("PrimoLivello"));  // below the upper levels
	// Without a linked account the save asks; "no" refuses it, with the focus on the link.
	FormDriver::Answer(IDNO);
	EXPECT_FALSE(form.Save());
	EXPECT_EQ(m_Ui.LastMessage(), "Conto associato mancante. Si intende salvare comunque?");
	EXPECT_EQ(form.GetDocument()->GetCtrlFocus(), static_cast<UINT>(IDC_PDC_CONTO_PATRIM));
	EXPECT_EQ(Conta("Erp_ChartOfAccounts WHERE Account = '2801001'"), 0);
	EXPECT_EQ(Riga("2801001"), "<none>");
	FormDriver::Answer(IDYES);
	ASSERT_TRUE(form.Save());
	EXPECT_EQ(Riga("2801001"), "001011");
	EXPECT_EQ(Riga("2801001", "EsplodiInAnalitica || TipoDettaglio || '/' || ContoPatrimoniale"),
			  CString::Formatted("1%u/", 0x3A9D0002u));
}

TEST_F(PianoDeiConti, ALedgersChoicesAreCarriedDownOnSave)
{
	// One account under the ledger has a row already: its other columns stay.
	Sql("INSERT INTO Kvz_RaggruppPdC (Conto, CodiceBudget, PrimoLivello) VALUES ('2102', 'B01', 1)");
	FormDriver form = Apri();
	Modifica(form, "21");
	// The ledger had no row: it is proposed when editing starts.
	EXPECT_EQ(form.Text("TerzoLivello"), "Si");
	EXPECT_TRUE(form.IsModified());
	ASSERT_TRUE(form.Press("TerzoLivello"));
	ASSERT_TRUE(form.Press("SecondoLivello"));
	ASSERT_TRUE(form.Save());
	EXPECT_EQ(Riga("21"), "010000");
	// Every account under the ledger: the ledger's flags, adjustable at the grouping level (2).
	EXPECT_EQ(Conta("Erp_ChartOfAccounts WHERE Account LIKE '21%' AND Account <> '21'"),
			  Conta("Kvz_RaggruppPdC WHERE Conto LIKE '21%' AND Conto <> '21'"));
	EXPECT_EQ(Riga("2101"), "010011");
	EXPECT_EQ(Riga("2103"), "010011");
	EXPECT_EQ(Riga("2102", "PrimoLivello || SecondoLivello || CodiceBudget"), "01B01");
	// Sub-accounts below the grouping level; those detailed by the host explode in cost accounting.
	EXPECT_EQ(Riga("2101001"), "010001");
	EXPECT_EQ(Riga("2101001", "EsplodiInAnalitica || TipoDettaglio"), CString::Formatted("1%u", 0x3A9D0002u));
	EXPECT_EQ(Riga("22"), "<none>");  // other ledgers are left alone

	// Saving again without changing the choices rewrites nothing below.
	Sql("UPDATE Kvz_RaggruppPdC SET CodiceBudget = 'X' WHERE Conto = '2101'");
	ASSERT_TRUE(form.Edit());
	ASSERT_TRUE(form.Type("Descrizione", "Costi per servizi e consulenze"));
	ASSERT_TRUE(form.Save());
	EXPECT_EQ(Riga("2101", "CodiceBudget || SecondoLivello"), "X1");
	// Sub-accounts are no upper-level accounts: their flags stay where the ledger put them.
	Modifica(form, "2101001");
	EXPECT_FALSE(form.IsEditable("SecondoLivello"));
	EXPECT_FALSE(form.IsEditable("EscludiDaImportazione"));
	ASSERT_TRUE(form.Escape());
}

TEST_F(PianoDeiConti, TheSaveCheckRefusesALinkToAnUngroupedAccount)
{
	FormDriver form = Apri();
	// The balance-sheet ledger 05 groups its accounts at level 3; ledger 06 has no rows.
	Modifica(form, "05");
	ASSERT_TRUE(form.Save());
	EXPECT_EQ(Riga("0501001", "TerzoLivello"), "1");
	Modifica(form, "21");
	ASSERT_TRUE(form.Save());

	Modifica(form, "2101001");
	ASSERT_TRUE(form.Type("Descrizione", "Servizi industriali vari"));
	const struct
	{
		const char* collegato;
		bool accettato;
	} casi[] = {
		{"0501", false},	 // level 2, but its ledger groups at level 3
		{"0601001", false},	 // no grouping row
		{"0501001", true},
	};
	for (auto& c : casi)
	{
		m_Ui.Clear();
		ASSERT_TRUE(form.Type("ContoPatrimoniale", c.collegato)) << c.collegato;
		EXPECT_FALSE(form.Text("ADDON_PDC_DESCRI_PATRIM").IsEmpty());
		EXPECT_EQ(form.Save(), c.accettato) << c.collegato;
		if (c.accettato)
			break;
		EXPECT_EQ(m_Ui.LastMessage(), "Sono collegabili ai conti economici i conti patrimoniali raggruppati (vedi "
									  "livello di raggruppamento del mastro).");
		EXPECT_EQ(form.GetDocument()->GetCtrlFocus(), static_cast<UINT>(IDC_PDC_CONTO_PATRIM));
		// The host's own save is refused with it.
		EXPECT_EQ(Conta("Erp_ChartOfAccounts WHERE Description = 'Servizi industriali vari'"), 0) << c.collegato;
	}
	EXPECT_EQ(Riga("2101001", "ContoPatrimoniale"), "0501001");
	EXPECT_EQ(Conta("Erp_ChartOfAccounts WHERE Description = 'Servizi industriali vari'"), 1);
	EXPECT_FALSE(form.Type("ContoPatrimoniale", "0599999"));  // an account that does not exist
}

TEST_F(PianoDeiConti, OnlyCostAndRevenueLedgersAreEconomic)
{
	// Ledger 40 ("Conti di riepilogo", ledger type item 5) holds no economic accounts.
	Sql("INSERT INTO Kvz_RaggruppPdC (Conto, TerzoLivello, InversioneSegno) VALUES "
		"('4001001', 1, 1), ('3001001', 1, 1), ('0501001', 1, 1)");
	const struct
	{
		const char* conto;
		bool economico;
	} conti[] = {{"4001001", false}, {"3001001", true}, {"0501001", false}};
	FormDriver form = Apri();
	for (auto& c : conti)
	{
		Modifica(form, c.conto);
		EXPECT_EQ(Client(form)->IsContoEconomico(c.conto), c.economico) << c.conto;
		EXPECT_EQ(form.IsEditable("InversioneSegno"), c.economico) << c.conto;
		EXPECT_EQ(form.Text("InversioneSegno"), c.economico ? "Si" : "No") << c.conto;
		EXPECT_EQ(form.IsEditable("ContoPatrimoniale"), c.economico) << c.conto;
		if (c.economico)
			FormDriver::Answer(IDYES);  // no linked account
		ASSERT_TRUE(form.Save()) << c.conto;
		EXPECT_EQ(Riga(c.conto, "InversioneSegno"), c.economico ? "1" : "0") << c.conto;
	}
}

TEST_F(PianoDeiConti, ChangingTheLevelOfALinkedBalanceSheetAccountWarnsEveryOtherTime)
{
	Sql("INSERT INTO Kvz_RaggruppPdC (Conto, ContoPatrimoniale) VALUES ('2101001', '0501001')");
	FormDriver form = Apri();
	Modifica(form, "05");  // the link names an account under the ledger
	const int attesi[] = {1, 1, 2, 2};
	for (int volte : attesi)
	{
		ASSERT_TRUE(form.Press("SecondoLivello"));
		EXPECT_EQ(Avvisi(), volte);
	}
	ASSERT_TRUE(form.Escape());
	// An economic account never warns.
	Modifica(form, "21");
	ASSERT_TRUE(form.Press("SecondoLivello"));
	EXPECT_EQ(Avvisi(), 2);
	ASSERT_TRUE(form.Escape());
}

TEST_F(PianoDeiConti, CodesWithWildcardsMatchOnlyThemselves)
{
	Sql("INSERT INTO Erp_Ledgers (Ledger, Description, LedgerType) VALUES ('0_', 'Crediti (vecchi)', 3014656), "
		"('0X', 'Crediti (altri)', 3014656)");
	Sql("INSERT INTO Erp_ChartOfAccounts (Account, Description, Ledger) VALUES ('0_', 'Crediti (vecchi)', '0_'), "
		"('0_01', 'Clienti', '0_'), ('0X', 'Crediti (altri)', '0X'), ('0X01', 'Clienti esteri', '0X')");
	Sql("INSERT INTO Kvz_RaggruppPdC (Conto, ContoPatrimoniale) VALUES ('2101001', '0X01')");
	FormDriver form = Apri();
	Modifica(form, "0_");
	ASSERT_TRUE(form.Press("SecondoLivello"));
	EXPECT_EQ(Avvisi(), 0);  // the link is to an account of ledger 0X
	ASSERT_TRUE(form.Save());
	EXPECT_EQ(Riga("0_01", "SecondoLivello"), "1");
	EXPECT_EQ(Riga("0X01"), "<none>");
}

TEST_F(PianoDeiConti, TheAddOnFlyFormProposesOnItsOwnTab)
{
	// A row left behind for the code by another procedure is taken over, not added twice.
	Sql("INSERT INTO Kvz_RaggruppPdC (Conto, CodiceBudget) VALUES ('2104', 'VECCHIO')");
	FormDriver form = Apri("DChartOfAccountsAddOnFly");
	EXPECT_EQ(form.Mode(), CBaseDocument::NEW);
	ASSERT_TRUE(form.ActivateTab("CCoAAddOnFlyTabManager", "&Riclassificazioni"));
	ASSERT_TRUE(form.Type("Conto", "2104"));
	ASSERT_TRUE(form.Type("Descrizione", "Servizi amministrativi"));
	EXPECT_EQ(form.Text("TerzoLivello"), "No");  // ledger 21 has no row: nothing to copy
	ASSERT_TRUE(form.Press("EscludereContoDaImportazione"));
	ASSERT_TRUE(form.Save());
	EXPECT_EQ(Riga("2104", "Conto || EscludereContoDaImportazione || '/' || CodiceBudget"), "21041/");

	// The row goes with its account.
	FormDriver master = Apri();
	ASSERT_TRUE(master.Find());
	ASSERT_TRUE(master.Type("Conto", "2104"));
	ASSERT_TRUE(master.Save());
	ASSERT_TRUE(master.Delete());
	EXPECT_EQ(Riga("2104"), "<none>");
}

}  // namespace
