#include <cstring>

#include "kvznet/kvzmod/kvzcomponents/Kvz_ADMBudgetObj.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TBudgetTesta.h"
#include "kvznet/kvzmod/kvzdbl/tests/KvzDblFixture.h"
#include "platform/plvgenlib/CBaseApp.h"
#include "platform/plvgenlib/CommandManager.h"
#include "platform/plvges/DocumentFactory.h"
#include "platform/plvges/FormViews.h"

namespace {

class DBTFakeBudgetTesta : public DBTMaster
{
	DECLARE_DYNAMIC(DBTFakeBudgetTesta, DBTMaster)
public:
	explicit DBTFakeBudgetTesta(CAbstractFormDoc* pDoc) : DBTMaster(RUNTIME_CLASS(Kvz_TBudgetTesta), pDoc, "DBTTesta") {}
	Kvz_TBudgetTesta* GetTesta() const { return static_cast<Kvz_TBudgetTesta*>(GetRecord()); }

protected:
	void OnDefineQuery() override
	{
		m_pTable->SelectAll();
		m_pTable->AddParam("p1", GetTesta()->f_IDBudget);
		m_pTable->AddFilterColumn(GetTesta()->f_IDBudget);
	}
	void OnPrepareQuery() override { m_pTable->SetParamValue("p1", GetTesta()->f_IDBudget); }
};

// The budget document as far as other documents see it.
class FakeBudgetDoc : public CAbstractFormDoc, public Kvz_ADMBudgetObj
{
	DECLARE_DYNCREATE(FakeBudgetDoc, CAbstractFormDoc)
public:
	BOOL OnAttachData() override { return Attach(new DBTFakeBudgetTesta(this)); }
	ADMObj* GetADMObj() override { return this; }
	SqlRecord* GetBudgetTesta() override { return GetMaster()->GetRecord(); }
	Kvz_TBudgetTesta* GetTesta() const { return static_cast<DBTFakeBudgetTesta*>(GetMaster())->GetTesta(); }
};

class FakeOtherDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(FakeOtherDoc, CAbstractFormDoc)
};

class FakeView : public CMasterFormView
{
	DECLARE_DYNCREATE(FakeView, CMasterFormView)
public:
	FakeView() : CMasterFormView("FakeView") {}
};

// The interface alone, without a document.
class BareBudgetObj : public Kvz_ADMBudgetObj
{
public:
	ADMObj* GetADMObj() override { return this; }
	SqlRecord* GetBudgetTesta() override { return m_pTesta; }
	Kvz_TBudgetTesta* m_pTesta = nullptr;
};

ADMObj* QueryADM(CBaseDocument* pDocument, LPCTSTR lpszInterface)
{
	auto* pADM = dynamic_cast<ADMObj*>(pDocument);
	return pADM && std::strcmp(*pADM->GetADMClass(), lpszInterface) == 0 ? pADM : nullptr;
}

const char* const kBudgetNs = "KvzNet.KvzMod.KvzDocuments.DBudget";
const char* const kOtherNs = "KvzNet.KvzMod.KvzDocuments.DAssestamenti";

class BudgetInterface : public CompanyDb
{
protected:
	void SetUp() override
	{
		CompanyDb::SetUp();
		// The document that does not offer the interface comes first.
		Register("DAssestamenti", RUNTIME_CLASS(FakeOtherDoc));
		Register("DBudget", RUNTIME_CLASS(FakeBudgetDoc));
		m_Manager.SetDocumentOpener(&OpenDocumentFromClasses);
		m_Manager.SetADMInterfaceQuery(&QueryADM);
		m_Manager.Install();
		for (long id : {7L, 9L})
		{
			Kvz_TBudgetTesta t;
			t.f_IDBudget = id;
			t.f_Descrizione = CString::Formatted("Budget %ld", id);
			InsertRow(t);
		}
	}
	void TearDown() override
	{
		m_Manager.CloseAllDocuments();
		AfxGetBaseApp()->RemoveAllTemplates();
		CompanyDb::TearDown();
	}

	static void Register(const char* name, CRuntimeClass* pDoc)
	{
		CPLVNamespace ns(CPLVNamespace::LIBRARY, "KvzNet.KvzMod.KvzDocuments");
		ns.SetObjectName(CPLVNamespace::DOCUMENT, name, TRUE, FALSE);
		ASSERT_NE(AfxGetBaseApp()->RegisterTemplate(1, pDoc, RUNTIME_CLASS(CMasterFrame), RUNTIME_CLASS(FakeView), ns,
													nullptr, "KvzDocuments", 0, "Default"),
				  nullptr);
	}

	CPlvCommandManager m_Manager;
};

}  // namespace

TEST(Kvz_ADMBudgetObj, NamesItsInterfaceAndCopiesTheBaseState)
{
	Kvz_TBudgetTesta testa;
	BareBudgetObj a;
	a.m_pTesta = &testa;
	EXPECT_EQ(a.GetADMClass(), &Kvz_ADMBudgetObj::admKvz_ADMBudgetObj);
	EXPECT_STREQ(*a.GetADMClass(), "Kvz_ADMBudgetObj");
	CMessages messages;
	a.ADMSetMessages(&messages);
	BareBudgetObj copy(a), assigned;
	assigned = a;
	EXPECT_EQ(copy.GetADMMessages(), &messages);
	EXPECT_EQ(assigned.GetADMMessages(), &messages);
	// Without a document there is nothing to browse; the record is left alone.
	EXPECT_FALSE(a.MostraBudget(DataLng(9)));
	EXPECT_EQ(long(testa.f_IDBudget), 0L);
}

TEST_F(BudgetInterface, OpenedByInterfaceNameAndBrowsedToTheBudget)
{
	CBaseDocument* pCaller = m_Manager.RunDocument(kOtherNs);
	ASSERT_NE(pCaller, nullptr);
	Kvz_ADMBudgetObj* pBudget = Kvz_ADMBudgetObj::ApriDocumentoBudget(kBudgetNs, pCaller);
	ASSERT_NE(pBudget, nullptr);
	auto* pDoc = dynamic_cast<FakeBudgetDoc*>(pBudget);
	ASSERT_NE(pDoc, nullptr);
	EXPECT_EQ(pDoc->GetCallerDocument(), pCaller);
	EXPECT_EQ(pBudget->GetDocument(), pDoc);
	EXPECT_EQ(pBudget->GetADMObj(), static_cast<ADMObj*>(pDoc));
	EXPECT_EQ(pBudget->GetBudgetTesta(), pDoc->GetTesta());

	const struct
	{
		long id;
		bool found;
		const char* descrizione;
	} cases[] = {{9, true, "Budget 9"}, {7, true, "Budget 7"}, {42, false, ""}};
	for (const auto& c : cases)
	{
		SCOPED_TRACE(c.id);
		EXPECT_EQ(bool(pBudget->MostraBudget(DataLng(c.id))), c.found);
		EXPECT_EQ(bool(pDoc->HasRecord()), c.found);
		EXPECT_EQ(pDoc->GetTesta()->f_Descrizione.GetString(), c.descrizione);
		if (c.found)
		{
			EXPECT_EQ(long(pDoc->GetTesta()->f_IDBudget), c.id);
		}
	}
}

TEST_F(BudgetInterface, WithoutANamespaceTheFirstDocumentOfferingTheInterfaceOpens)
{
	Kvz_ADMBudgetObj* pBudget = Kvz_ADMBudgetObj::ApriDocumentoBudget();
	ASSERT_NE(pBudget, nullptr);
	ASSERT_NE(dynamic_cast<FakeBudgetDoc*>(pBudget), nullptr);
	EXPECT_EQ(pBudget->GetDocument()->GetCallerDocument(), nullptr);
	EXPECT_TRUE(pBudget->MostraBudget(DataLng(7)));
	EXPECT_EQ(m_Manager.GetOpenDocuments().size(), 1u);
}

TEST_F(BudgetInterface, NothingOpensWhereNoDocumentOffersTheInterface)
{
	EXPECT_EQ(Kvz_ADMBudgetObj::ApriDocumentoBudget(kOtherNs), nullptr);
	EXPECT_FALSE(m_Manager.GetLastError().IsEmpty());
	EXPECT_TRUE(m_Manager.GetOpenDocuments().empty());

	CPlvCommandInterface* pPrev = AfxSetPlvCmdManager(nullptr);
	EXPECT_EQ(Kvz_ADMBudgetObj::ApriDocumentoBudget(kBudgetNs), nullptr);
	AfxSetPlvCmdManager(pPrev);
	EXPECT_TRUE(m_Manager.GetOpenDocuments().empty());
}
