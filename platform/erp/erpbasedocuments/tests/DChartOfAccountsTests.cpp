#include <memory>

#include "platform/erp/erpbasedbl/ErpBaseDblTables.h"
#include "platform/erp/erpbasedbl/tests/ErpFixture.h"
#include "platform/erp/erpbasedocuments/DChartOfAccounts.h"
#include "platform/plvgenlib/AddOnInterfaceObj.h"
#include "platform/plvgenlib/CBaseApp.h"
#include "platform/plvges/CClientDoc.h"
#include "platform/plvges/FormDriver.h"
#include "platform/plvoledb/driver/Driver.h"

extern "C" AddOnInterfaceObj* _VandrelAddOn_();

namespace {
const char* const kLibrary = "Erp.Base.ErpBaseDocuments";

// A client document as another library attaches it: a page of its own, the host's notifications.
class TClientTab : public CTabDialog
{
	DECLARE_DYNCREATE(TClientTab, CTabDialog)
public:
	TClientTab() : CTabDialog("ClientTab") {}
};

class TClient : public CClientDoc
{
	DECLARE_DYNAMIC(TClient, CClientDoc)
	DECLARE_MESSAGE_MAP()
public:
	std::vector<CString> m_Heard;
	BOOL m_bRefuse = FALSE;
	void Customize() override
	{
		const bool onFly = GetServerDoc()->IsKindOf(RUNTIME_CLASS(DChartOfAccountsAddOnFly));
		AddTabDialog(onFly ? "CCoAAddOnFlyTabManager" : "CCoATabManager", RUNTIME_CLASS(TClientTab), 0, "Cliente");
	}
	BOOL OnOkTransaction() override { return !m_bRefuse; }

protected:
	void Heard(const char* what)
	{
		const TChartOfAccounts* pRec = static_cast<DChartOfAccounts*>(GetServerDoc())->GetChartOfAccounts();
		m_Heard.push_back(CString::Formatted("%s %s A=%d B=%d", what, pRec->f_Account.GetString().GetString(),
											 static_cast<int>(static_cast<BOOL>(pRec->f_CostAccounting)),
											 static_cast<int>(static_cast<BOOL>(pRec->f_CostAccDetail))));
	}
	void OnAccount() { Heard("conto"); }
	void OnFlagA() { Heard("A"); }
	void OnFlagB() { Heard("B"); }
};

BEGIN_MESSAGE_MAP(TClient, CClientDoc)
	ON_EN_VALUE_CHANGED(7704, OnAccount)
	ON_EN_VALUE_CHANGED(7707, OnFlagA)
	ON_EN_VALUE_CHANGED(7720, OnFlagB)
END_MESSAGE_MAP()

class ChartDocuments : public ErpCompanyDb
{
protected:
	void RegisterTables(SqlConnection& connection) override { ASSERT_TRUE(erp::RegisterBaseTables(connection)); }
	void SetUp() override
	{
		ErpCompanyDb::SetUp();
		Sql("INSERT INTO Erp_ChartOfAccountParameters (LedgerLength, NrOfSegments, Segment1Name, Segment1Length, "
			"Segment2Name, Segment2Length) VALUES (2, 2, 'Conto', 2, 'Sottoconto', 3)");
		Sql("INSERT INTO Erp_Ledgers (Ledger, Description, LedgerType) VALUES ('21', 'Costi per servizi', 3014659)");
		Sql("INSERT INTO Erp_ChartOfAccounts (Account, Description, Ledger) VALUES ('21', 'Costi per servizi', '21'), "
			"('2101', 'Servizi industriali', '21')");
		// Client documents for both documents, as a library attaching to them would.
		AfxSetClientDocAttacher([this](CBaseDocument* pHost, CClientDocArray* pClients) {
			auto* pDoc = DynamicDownCast<CAbstractFormDoc>(pHost);
			for (const char* name : {"DChartOfAccounts", "DChartOfAccountsAddOnFly"})
				if (pDoc && pDoc->HasClientDocToAttach(name))
				{
					m_pClient = new TClient;
					m_pClient->Init("ClientDocTest", CPLVNamespace("Library.Test.Erp.Client"));
					pClients->Add(m_pClient);
				}
		});
	}
	void TearDown() override
	{
		m_pDocs.reset();  // the documents go before their company
		AfxSetClientDocAttacher(nullptr);
		ErpCompanyDb::TearDown();
	}

	CBaseDocument* Open(bool bOnFly)
	{
		CPLVNamespace ns(CString(kLibrary) + (bOnFly ? ".DChartOfAccountsAddOnFly" : ".DChartOfAccounts"));
		return bOnFly ? FormDriver::Open(*m_pDocs, RUNTIME_CLASS(DChartOfAccountsAddOnFly), RUNTIME_CLASS(CMasterFrame),
										 RUNTIME_CLASS(CChartOfAccountsAddOnFlyView), ns)
					  : FormDriver::Open(*m_pDocs, RUNTIME_CLASS(DChartOfAccounts), RUNTIME_CLASS(CMasterFrame),
										 RUNTIME_CLASS(CChartOfAccountsView), ns);
	}
	CString Value(const char* sql)
	{
		auto st = m_pConn->Db().Prepare(sql);
		return st->Step() ? CString(std::get<std::string>(st->Column(0))) : CString("<none>");
	}

	std::unique_ptr<CDocumentSet> m_pDocs = std::make_unique<CDocumentSet>();
	TClient* m_pClient = nullptr;
};
}  // namespace

TEST_F(ChartDocuments, MasterFormOfAnAccountWithItsClients)
{
	FormDriver form(Open(false));
	auto* pDoc = static_cast<DChartOfAccounts*>(form.GetDocument());
	ASSERT_NE(pDoc, nullptr);
	EXPECT_EQ(pDoc->GetFormTitle(), "Piano dei conti");
	EXPECT_TRUE(pDoc->HasClientDocToAttach("DChartOfAccounts"));
	EXPECT_FALSE(pDoc->HasClientDocToAttach("DChartOfAccountsAddOnFly"));
	ASSERT_EQ(pDoc->GetClientDocs()->GetSize(), 1);
	auto* pTabs = static_cast<CAbstractFormView*>(pDoc->GetFirstView())->GetTabManager("CCoATabManager");
	ASSERT_NE(pTabs, nullptr);
	ASSERT_EQ(pTabs->GetDialogCount(), 2);
	EXPECT_EQ(pTabs->GetDialog(0)->GetTitle(), "Generale");
	EXPECT_EQ(pTabs->GetDialog(1)->GetTitle(), "Cliente");

	// A new sub-account: the ledger follows the code, a last-level code carries balances.
	ASSERT_TRUE(form.New());
	ASSERT_TRUE(form.Type("Conto", "2101007"));
	EXPECT_EQ(form.Text("Mastro"), "21");
	EXPECT_EQ(form.Text("LINK_DES_MASTRO"), "Costi per servizi");
	EXPECT_FALSE(form.IsEditable("Mastro"));
	EXPECT_EQ(form.Text("Conto movimentabile"), "Si");
	ASSERT_TRUE(form.Type("Descrizione", "Smaltimento rifiuti"));
	ASSERT_TRUE(form.ActivateTab("CCoATabManager", "Generale"));
	ASSERT_TRUE(form.Press("Gestito in contabilità analitica"));
	ASSERT_TRUE(form.Press("Dettaglio per centri di costo e commesse"));
	EXPECT_EQ(m_pClient->m_Heard,
			  (std::vector<CString>{"conto 2101007 A=0 B=0", "A 2101007 A=1 B=0", "B 2101007 A=1 B=1"}));
	m_pClient->m_bRefuse = TRUE;  // the client's save check stops the host's save
	EXPECT_FALSE(form.Save());
	EXPECT_EQ(Value("SELECT Description FROM Erp_ChartOfAccounts WHERE Account = '2101007'"), "<none>");
	m_pClient->m_bRefuse = FALSE;
	ASSERT_TRUE(form.Save());
	EXPECT_EQ(Value("SELECT Description || CarriesBalances || CostAccounting || CostAccDetail FROM Erp_ChartOfAccounts "
					"WHERE Account = '2101007'"),
			  "Smaltimento rifiuti111");
	ASSERT_TRUE(form.Edit());
	EXPECT_FALSE(form.IsEditable("Conto"));
	ASSERT_TRUE(form.Escape());

	// Codes out of the structure are refused, and so are accounts without their ledger or parent.
	const struct
	{
		const char* code;
		const char* message;
	} refused[] = {
		{"21010", "Il codice del conto non corrisponde alla struttura del piano dei conti."},
		{"3101001", "Il mastro 31 non esiste."},
		{"2102001", "Il conto di livello superiore 2102 non esiste."},
		{"2101007", "Il conto 2101007 esiste gia'."},
	};
	for (auto& r : refused)
	{
		ASSERT_TRUE(form.New());
		ASSERT_TRUE(form.Type("Conto", r.code));
		EXPECT_FALSE(form.Save()) << r.code;
		EXPECT_EQ(m_Ui.LastMessage(), r.message);
		ASSERT_TRUE(form.Escape());
	}
}

TEST_F(ChartDocuments, AddingAnAccountOnTheFly)
{
	FormDriver form(Open(true));
	auto* pDoc = static_cast<DChartOfAccounts*>(form.GetDocument());
	ASSERT_NE(pDoc, nullptr);
	EXPECT_EQ(form.Mode(), CBaseDocument::NEW);  // it opens on a new account
	EXPECT_TRUE(pDoc->HasClientDocToAttach("DChartOfAccountsAddOnFly"));
	ASSERT_EQ(pDoc->GetClientDocs()->GetSize(), 1);
	auto* pView = static_cast<CAbstractFormView*>(pDoc->GetFirstView());
	EXPECT_EQ(pView->GetTabManager("CCoATabManager"), nullptr);
	ASSERT_NE(pView->GetTabManager("CCoAAddOnFlyTabManager"), nullptr);
	EXPECT_EQ(pView->GetTabManager("CCoAAddOnFlyTabManager")->GetDialogCount(), 2);
	ASSERT_TRUE(form.Type("Conto", "2102"));
	EXPECT_EQ(form.Text("Conto movimentabile"), "No");  // not the last level
	ASSERT_TRUE(form.Type("Descrizione", "Servizi commerciali"));
	ASSERT_TRUE(form.Save());
	EXPECT_EQ(Value("SELECT Ledger FROM Erp_ChartOfAccounts WHERE Account = '2102'"), "21");
}

TEST_F(ChartDocuments, TheLibraryRegistersBothDocuments)
{
	std::unique_ptr<AddOnInterfaceObj> pAddOn(_VandrelAddOn_());
	const CPLVNamespace ns(CString("Library.") + kLibrary);
	pAddOn->AOI_RegisterTemplates(0, &ns);
	CSingleExtDocTemplate* pTemplate = AfxGetBaseApp()->FindTemplate(CString(kLibrary) + ".DChartOfAccounts");
	ASSERT_NE(pTemplate, nullptr);
	EXPECT_EQ(pTemplate->GetDocClass(), RUNTIME_CLASS(DChartOfAccounts));
	EXPECT_EQ(pTemplate->GetViewClass(), RUNTIME_CLASS(CChartOfAccountsView));
	// The add-on-fly form by the namespace the account lookup names.
	pTemplate = AfxGetBaseApp()->FindTemplate(HKLChartOfAccounts().GetAddOnFlyNamespace());
	ASSERT_NE(pTemplate, nullptr);
	EXPECT_EQ(pTemplate->GetDocClass(), RUNTIME_CLASS(DChartOfAccountsAddOnFly));
	EXPECT_TRUE(AfxGetBaseApp()->GetRegistrationErrors().empty());
	AfxGetBaseApp()->RemoveTemplates(pAddOn.get());
}
