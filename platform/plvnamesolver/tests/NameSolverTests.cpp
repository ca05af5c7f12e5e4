#include <gtest/gtest.h>

#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvnamesolver/CPLVNamespace.h"

TEST(Namespace, ParsesTypedAndUntypedPaths)
{
	struct Case
	{
		const char* text;
		CPLVNamespace::NsType type;
		const char* path;
		const char* library;
		const char* object;
	} cases[] = {
		{"Library.KvzNet.KvzMod.KvzDocuments", CPLVNamespace::LIBRARY, "KvzNet.KvzMod.KvzDocuments", "KvzDocuments", ""},
		{"KvzNet.KvzMod.KvzDbl", CPLVNamespace::LIBRARY, "KvzNet.KvzMod.KvzDbl", "KvzDbl", ""},
		{"KvzNet.KvzMod.KvzDocuments.DBudget", CPLVNamespace::DOCUMENT, "KvzNet.KvzMod.KvzDocuments.DBudget",
		 "KvzDocuments", "DBudget"},
		{"Module.KvzNet.KvzMod", CPLVNamespace::MODULE, "KvzNet.KvzMod", "", ""},
		{"Table.KvzNet.KvzMod.KvzDbl.Kvz_AnagConti", CPLVNamespace::TABLE, "KvzNet.KvzMod.KvzDbl.Kvz_AnagConti",
		 "KvzDbl", "Kvz_AnagConti"},
	};
	for (auto& c : cases)
	{
		CPLVNamespace ns(c.text);
		SCOPED_TRACE(c.text);
		EXPECT_EQ(ns.GetType(), c.type);
		EXPECT_EQ(ns.GetPathName(), c.path);
		EXPECT_EQ(ns.GetObjectName(CPLVNamespace::LIBRARY), c.library);
		EXPECT_EQ(ns.GetObjectName(CPLVNamespace::DOCUMENT), c.object);
	}
}

TEST(Namespace, SetObjectNameMakesAnObjectNamespace)
{
	CPLVNamespace lib("Library.KvzNet.KvzMod.KvzDocuments");
	CPLVNamespace doc = lib;
	doc.SetObjectName(CPLVNamespace::DOCUMENT, "DParametri", TRUE, FALSE);
	EXPECT_EQ(doc.GetType(), CPLVNamespace::DOCUMENT);
	EXPECT_EQ(doc.ToString(), "Document.KvzNet.KvzMod.KvzDocuments.DParametri");
	EXPECT_TRUE(doc == CPLVNamespace("KvzNet.KvzMod.KvzDocuments.DParametri"));
	EXPECT_EQ(lib.GetObjectName(CPLVNamespace::LIBRARY), "KvzDocuments");  // the original stays

	doc.SetObjectName(CPLVNamespace::TABLE, "Kvz_AnagConti");
	EXPECT_EQ(doc.ToString(), "Table.KvzNet.KvzMod.KvzDocuments.Kvz_AnagConti");

	CPLVNamespace hkl;
	ASSERT_TRUE(AutoCompleteNamespace(CPLVNamespace::HOTLINK, "KvzDriversMagazzini",
									  CPLVNamespace("Library.KvzNet.KvzDrivers.KvzDriversDbl"), hkl));
	EXPECT_EQ(hkl.ToString(), "HotKeyLink.KvzNet.KvzDrivers.KvzDriversDbl.KvzDriversMagazzini");
}

TEST(ApplicationContext, AssertionReportsAndExecutionGoesOn)
{
	CApplicationContext* ctx = AfxGetApplicationContext();
	ctx->SetEchoAssertions(FALSE);
	ctx->ClearAssertionReports();
	void* pTemplate = nullptr;
	bool reachedAfter = false;
	ASSERT_RELEASE_TRACE(pTemplate, "AddOnInterface::AOI_RegisterTemplates", "KvzDocumentsInterfce");
	reachedAfter = true;
	EXPECT_TRUE(reachedAfter);
	auto reports = ctx->GetAssertionReports();
	ASSERT_EQ(reports.size(), 1u);
	EXPECT_EQ(reports[0].condition, "pTemplate");
	EXPECT_EQ(reports[0].method, "AddOnInterface::AOI_RegisterTemplates");
	EXPECT_EQ(reports[0].file, "KvzDocumentsInterfce");
	EXPECT_EQ(reports[0].threadId, AfxGetCurrentThreadId());
	EXPECT_GT(reports[0].line, 0);

	ctx->EnableReleaseAssertions(FALSE);
	ASSERT_RELEASE_TRACE(pTemplate, "m", "f");
	EXPECT_EQ(ctx->GetAssertionReports().size(), 1u);
	ctx->EnableReleaseAssertions(TRUE);
	ctx->ClearAssertionReports();
	ctx->SetEchoAssertions(TRUE);
}

TEST(ApplicationContext, LoginAndErrors)
{
	AfxSetLoginUser("Rossi");
	EXPECT_EQ(AfxGetLoginInfos()->m_strUserName, "Rossi");
	CApplicationErrorException e("Invalid context object: Kvz_CDeBudgetDoc");
	EXPECT_TRUE(e.IsKindOf(RUNTIME_CLASS(CException)));
	EXPECT_STREQ(e.what(), "Invalid context object: Kvz_CDeBudgetDoc");
	CDiagnostic d;
	d.Add("avviso", CDiagnostic::Warning);
	EXPECT_FALSE(d.HasErrors());
	d.Add("errore");
	EXPECT_TRUE(d.HasErrors());
	EXPECT_EQ(d.ToString(), "avviso\nerrore");
}
