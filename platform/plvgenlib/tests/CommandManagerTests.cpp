#include <cstring>
#include <string>

#include "TestLibraries.h"

// Stand-in for the documents layer's automation interface: what the command manager hands back.
class ADMObj
{
public:
	virtual ~ADMObj() = default;
	virtual const char* const* GetADMClass() const = 0;
};

namespace {

int g_nAlive = 0;  // documents, frames and views in existence

struct Counted
{
	Counted() { ++g_nAlive; }
	~Counted() { --g_nAlive; }
};

class TFrameC : public CBaseFrame, Counted
{
	DECLARE_DYNCREATE(TFrameC, CBaseFrame)
};

class TViewC : public CBaseView, Counted
{
	DECLARE_DYNCREATE(TViewC, CBaseView)
public:
	void OnInitialUpdate() override
	{
		CBaseView::OnInitialUpdate();
		m_bUpdated = true;
	}
	bool m_bUpdated = false;
};

class TViewAuto : public TViewC
{
	DECLARE_DYNCREATE(TViewAuto, TViewC)
};

class TViewFixed : public CBaseView
{
	DECLARE_DYNAMIC(TViewFixed, CBaseView)
};

class TDocOk : public CBaseDocument, Counted
{
	DECLARE_DYNCREATE(TDocOk, CBaseDocument)
public:
	BOOL OnOpenDocument(const DocInvocationInfo* pInfo) override
	{
		CBaseDocument::OnOpenDocument(pInfo);
		m_strViewMode = pInfo->m_strViewMode;
		m_pUserData = pInfo->m_pUserData;
		return TRUE;
	}
	void OnCloseDocument() override { ++s_nClosed; }

	CString m_strViewMode;
	void* m_pUserData = nullptr;
	static inline int s_nClosed = 0;
};

class TDocRefuses : public CBaseDocument, Counted
{
	DECLARE_DYNCREATE(TDocRefuses, CBaseDocument)
public:
	BOOL OnOpenDocument(const DocInvocationInfo*) override { return FALSE; }
};

const char* const admTest_ADMBudgetObj = "Test_ADMBudgetObj";

class TDocBudget : public CBaseDocument, public ADMObj, Counted
{
	DECLARE_DYNCREATE(TDocBudget, CBaseDocument)
public:
	const char* const* GetADMClass() const override { return &admTest_ADMBudgetObj; }
};

ADMObj* QueryADM(CBaseDocument* pDoc, LPCTSTR lpszInterface)
{
	auto* pADM = dynamic_cast<ADMObj*>(pDoc);
	return pADM && std::strcmp(*pADM->GetADMClass(), lpszInterface) == 0 ? pADM : nullptr;
}

const char* const kLib = "PlvTest.TestMod.TestDocs";

CPLVNamespace DocNs(const char* name)
{
	CPLVNamespace ns(CPLVNamespace::LIBRARY, kLib);
	ns.SetObjectName(CPLVNamespace::DOCUMENT, name, TRUE, FALSE);
	return ns;
}

CSingleExtDocTemplate* Register(const char* name, CRuntimeClass* pDoc, CRuntimeClass* pView,
								const char* view = "Default", CRuntimeClass* pFrame = RUNTIME_CLASS(TFrameC))
{
	return AfxGetBaseApp()->RegisterTemplate(1, pDoc, pFrame, pView, DocNs(name), nullptr, "TestDocs", 0, view);
}

class CommandManager : public CompanyFixture
{
protected:
	void SetUp() override
	{
		CompanyFixture::SetUp();
		ASSERT_NE(Register("DOk", RUNTIME_CLASS(TDocOk), RUNTIME_CLASS(TViewC)), nullptr);
		ASSERT_NE(Register("DOk", RUNTIME_CLASS(TDocOk), RUNTIME_CLASS(TViewAuto), "Unattended"), nullptr);
		ASSERT_NE(Register("DRifiuta", RUNTIME_CLASS(TDocRefuses), RUNTIME_CLASS(TViewC)), nullptr);
		ASSERT_NE(Register("DBudget", RUNTIME_CLASS(TDocBudget), RUNTIME_CLASS(TViewC)), nullptr);
		AfxGetBaseApp()->RegisterDocumentAlias("PlvTest.TestMod.TestDocs.OkAlias", "PlvTest.TestMod.TestDocs.DOk");
		m_Manager.Install();
	}
	void TearDown() override
	{
		m_Manager.CloseAllDocuments();
		EXPECT_EQ(g_nAlive, 0);
		CompanyFixture::TearDown();
	}

	CPlvCommandManager m_Manager;
};

}  // namespace

TEST_F(CommandManager, OpensADocumentByItsNamespaceInEveryForm)
{
	const struct
	{
		const char* ns;
		const char* view;
		const char* docClass;  // null: nothing opens
		const char* viewClass;
	} cases[] = {
		{"PlvTest.TestMod.TestDocs.DOk", "Default", "TDocOk", "TViewC"},
		{"Document.PlvTest.TestMod.TestDocs.DOk", "Default", "TDocOk", "TViewC"},
		{"plvtest.testmod.testdocs.dok", "", "TDocOk", "TViewC"},
		{"TestMod.TestDocs.DOk", "Default", "TDocOk", "TViewC"},           // hotlinks' form
		{"PlvTest.TestMod.TestDocs.TDocOk", "Default", "TDocOk", "TViewC"},  // by document class
		{"PlvTest.TestMod.TestDocs.OkAlias", "Default", "TDocOk", "TViewC"},
		{"PlvTest.TestMod.TestDocs.DOk", "Unattended", "TDocOk", "TViewAuto"},
		{"TestMod.TestDocs.DBudget", "Unattended", nullptr, nullptr},
		{"PlvTest.TestMod.TestDocs.DMancante", "Default", nullptr, nullptr},
		{"PlvTest.TestMod.Altro.DOk", "Default", nullptr, nullptr},
		{"Altro.TestMod.TestDocs.DOk", "Default", nullptr, nullptr},
		{"TestDocs.DOk", "Default", nullptr, nullptr},
		{"", "Default", nullptr, nullptr},
	};
	for (const auto& c : cases)
	{
		SCOPED_TRACE(std::string(c.ns) + " / " + c.view);
		CBaseDocument* pDoc = m_Manager.RunDocument(c.ns, c.view);
		if (!c.docClass)
		{
			EXPECT_EQ(pDoc, nullptr);
			continue;
		}
		ASSERT_NE(pDoc, nullptr);
		EXPECT_STREQ(pDoc->GetRuntimeClass()->m_lpszClassName, c.docClass);
		auto* pView = DynamicDownCast<TViewC>(pDoc->GetFirstView());
		ASSERT_NE(pView, nullptr);
		EXPECT_STREQ(pView->GetRuntimeClass()->m_lpszClassName, c.viewClass);
		EXPECT_TRUE(pView->m_bUpdated);
		EXPECT_EQ(pView->GetDocument(), pDoc);
		EXPECT_EQ(pDoc->GetMasterFrame()->GetActiveView(), pView);
		EXPECT_EQ(pDoc->GetNamespace().GetPathName(), "PlvTest.TestMod.TestDocs.DOk");
		EXPECT_EQ(static_cast<TDocOk*>(pDoc)->m_strViewMode, *c.view ? c.view : "Default");
		EXPECT_TRUE(m_Manager.GetLastError().IsEmpty());
		pDoc->CloseDocument(TRUE);
		EXPECT_FALSE(m_Manager.ExistDocument(pDoc));
	}
	EXPECT_EQ(g_nAlive, 0);
}

TEST_F(CommandManager, TheCallerAndTheUserDataReachTheDocument)
{
	CBaseDocument* pCaller = m_Manager.RunDocument("PlvTest.TestMod.TestDocs.DOk");
	int data = 0;
	CBaseDocument* pChild = m_Manager.RunDocument("PlvTest.TestMod.TestDocs.DOk", "Default", &data, pCaller);
	ASSERT_NE(pChild, nullptr);
	EXPECT_EQ(pChild->GetCallerDocument(), pCaller);
	EXPECT_EQ(static_cast<TDocOk*>(pChild)->m_pUserData, &data);
	EXPECT_EQ(pCaller->GetCallerDocument(), nullptr);
	EXPECT_EQ(m_Manager.GetOpenDocuments(), (std::vector<CBaseDocument*>{pCaller, pChild}));

	// The framework closes what is still open, each document through its own close.
	TDocOk::s_nClosed = 0;
	m_Manager.CloseAllDocuments();
	EXPECT_EQ(TDocOk::s_nClosed, 2);
	EXPECT_FALSE(AfxExistWebServiceStateObject(pCaller));
	EXPECT_FALSE(AfxExistWebServiceStateObject(pChild));
}

TEST_F(CommandManager, AnUnknownNamespaceOrARefusedOpenLeavesNothingAndSaysSo)
{
	EXPECT_EQ(m_Manager.RunDocument("PlvTest.TestMod.TestDocs.DNessuno"), nullptr);
	const CString unknown = "No document is registered as \"PlvTest.TestMod.TestDocs.DNessuno\" in the view \"Default\".";
	EXPECT_EQ(m_Manager.GetLastError(), unknown);
	EXPECT_EQ(m_Ui.LastMessage(), unknown);

	EXPECT_EQ(m_Manager.RunDocument("PlvTest.TestMod.TestDocs.DRifiuta"), nullptr);
	EXPECT_EQ(m_Ui.LastMessage(), "The document PlvTest.TestMod.TestDocs.DRifiuta did not open.");
	EXPECT_EQ(g_nAlive, 0);
	EXPECT_TRUE(m_Manager.GetOpenDocuments().empty());
	ASSERT_EQ(m_Ui.Messages().size(), 2u);
	EXPECT_EQ(m_Ui.Messages()[0].type, UINT(MB_OK | MB_ICONERROR));
}

TEST_F(CommandManager, ADocumentRunForAnInterfaceGivesItsInterface)
{
	m_Manager.SetADMInterfaceQuery(&QueryADM);
	CBaseDocument* pCaller = m_Manager.RunDocument("PlvTest.TestMod.TestDocs.DOk");
	const struct
	{
		const char* iface;
		const char* ns;
		bool opens;
	} cases[] = {
		{"Test_ADMBudgetObj", nullptr, true},  // the first document whose class offers it
		{"Test_ADMBudgetObj", "PlvTest.TestMod.TestDocs.DBudget", true},
		{"Test_ADMBudgetObj", "TestMod.TestDocs.DBudget", true},
		{"Test_ADMBudgetObj", "PlvTest.TestMod.TestDocs.DOk", false},
		{"Test_ADMBudgetObj", "PlvTest.TestMod.TestDocs.DNessuno", false},
		{"Altro_ADMObj", nullptr, false},
	};
	for (const auto& c : cases)
	{
		SCOPED_TRACE(std::string(c.iface) + " / " + (c.ns ? c.ns : "(no namespace)"));
		const size_t openBefore = m_Manager.GetOpenDocuments().size();
		ADMObj* pADM = m_Manager.RunADMDocument(c.iface, "Default", c.ns, nullptr, pCaller);
		if (!c.opens)
		{
			EXPECT_EQ(pADM, nullptr);
			EXPECT_EQ(m_Manager.GetOpenDocuments().size(), openBefore);
			EXPECT_FALSE(m_Manager.GetLastError().IsEmpty());
			continue;
		}
		ASSERT_NE(pADM, nullptr);
		auto* pDoc = dynamic_cast<TDocBudget*>(pADM);
		ASSERT_NE(pDoc, nullptr);
		EXPECT_STREQ(*pADM->GetADMClass(), "Test_ADMBudgetObj");
		EXPECT_EQ(pDoc->GetCallerDocument(), pCaller);
		EXPECT_EQ(m_Manager.GetOpenDocuments().back(), pDoc);
		pDoc->CloseDocument(TRUE);
	}

	// Without the documents layer's answer no document can offer an interface.
	m_Manager.SetADMInterfaceQuery(nullptr);
	EXPECT_EQ(m_Manager.RunADMDocument("Test_ADMBudgetObj", "Default", "PlvTest.TestMod.TestDocs.DBudget"), nullptr);
	EXPECT_EQ(m_Manager.GetOpenDocuments().size(), 1u);
}

TEST_F(CommandManager, ATemplateIsRefusedWithItsReason)
{
	AfxGetBaseApp()->ClearRegistrationErrors();
	const struct
	{
		CRuntimeClass* pDoc;
		CRuntimeClass* pFrame;
		CRuntimeClass* pView;
		CPLVNamespace ns;
		const char* view;
		const char* reason;  // null: registered
	} cases[] = {
		{nullptr, RUNTIME_CLASS(TFrameC), RUNTIME_CLASS(TViewC), DocNs("D1"), "Default", "the document class is missing"},
		{RUNTIME_CLASS(TViewC), RUNTIME_CLASS(TFrameC), RUNTIME_CLASS(TViewC), DocNs("D2"), "Default",
		 "the document class TViewC is not a CBaseDocument"},
		{RUNTIME_CLASS(TDocOk), RUNTIME_CLASS(CBaseFrame), RUNTIME_CLASS(TViewC), DocNs("D3"), "Default",
		 "the frame class CBaseFrame cannot be created by name"},
		{RUNTIME_CLASS(TDocOk), RUNTIME_CLASS(TFrameC), RUNTIME_CLASS(TViewFixed), DocNs("D4"), "Default",
		 "the view class TViewFixed cannot be created by name"},
		{RUNTIME_CLASS(TDocOk), RUNTIME_CLASS(TFrameC), RUNTIME_CLASS(TViewC), CPLVNamespace("Library.PlvTest.TestMod.TestDocs"),
		 "Default", "\"Library.PlvTest.TestMod.TestDocs\" names no document"},
		{RUNTIME_CLASS(TDocOk), RUNTIME_CLASS(TFrameC), RUNTIME_CLASS(TViewC), DocNs("DOk"), "default",
		 "the namespace is already registered in this view"},
		{RUNTIME_CLASS(TDocOk), RUNTIME_CLASS(TFrameC), RUNTIME_CLASS(TViewC), DocNs("DNuovo"), "", nullptr},
	};
	for (const auto& c : cases)
	{
		SCOPED_TRACE(c.ns.ToString().str());
		CSingleExtDocTemplate* p =
			AfxGetBaseApp()->RegisterTemplate(9, c.pDoc, c.pFrame, c.pView, c.ns, nullptr, "TestDocs", 0, c.view);
		const auto errors = AfxGetBaseApp()->GetRegistrationErrors();
		if (!c.reason)
		{
			ASSERT_NE(p, nullptr);
			EXPECT_EQ(p->GetViewName(), "Default");
			EXPECT_EQ(p->GetID(), 9u);
			EXPECT_EQ(p->GetModuleInstance(), AfxGetModuleOf(RUNTIME_CLASS(TDocOk)));
			continue;
		}
		EXPECT_EQ(p, nullptr);
		ASSERT_FALSE(errors.empty());
		EXPECT_EQ(errors.back().reason, c.reason);
		EXPECT_EQ(errors.back().library, "TestDocs");
	}
	EXPECT_EQ(AfxGetBaseApp()->GetRegistrationErrors().size(), 6u);
}
