#include <dlfcn.h>

#include <chrono>
#include <string>
#include <thread>

#include "TestLibraries.h"
#include "platform/plvgeneric/FunctionWrappers.h"

namespace {

using RunFn = long (*)(HWND);
using DisposeFn = bool (*)(HWND, long);
using GetRigaFn = bool (*)(HWND, CObject*, int, BSTR*, double*, int*);
using GetTitoloFn = BSTR (*)(HWND, CObject*, BSTR);

// The documents library loaded as the host loads it, on this thread's main window.
class ExportedFunctions : public CompanyFixture
{
protected:
	void SetUp() override
	{
		CompanyFixture::SetUp();
		m_Manager.Install();
		ASSERT_TRUE(m_Libs.Load(TablesLib()));
		ASSERT_TRUE(m_Libs.Load(PartsLib()));
		ASSERT_TRUE(m_Libs.Load(DocsLib()));
		m_Libs.RegisterAll(nullptr);
		void* h = m_Libs.Find("PlvTestDocs")->hHandle;
		m_Run = reinterpret_cast<RunFn>(dlsym(h, "__TDocConti_Run"));
		m_Dispose = reinterpret_cast<DisposeFn>(dlsym(h, "__TDocConti_Dispose"));
		m_GetRiga = reinterpret_cast<GetRigaFn>(dlsym(h, "__TDocConti_GetRiga"));
		m_GetTitolo = reinterpret_cast<GetTitoloFn>(dlsym(h, "__TDocConti_GetTitolo"));
		ASSERT_TRUE(m_Run && m_Dispose && m_GetRiga && m_GetTitolo);
		m_hWnd = m_UiThread.GetMainWnd();
	}
	void TearDown() override
	{
		m_Libs.Unload();
		CompanyFixture::TearDown();
	}

	CObject* Open(const char* ns)
	{
		return m_Manager.RunDocument(ns);
	}

	// What one row read through the export gives back.
	struct Row
	{
		bool found;
		std::string codice;
		double importo;
		int tipo;
		friend bool operator==(const Row&, const Row&) = default;
	};
	Row ReadRow(CObject* pContext, int nRiga)
	{
		BSTR codice = SysAllocString("prima");
		double importo = 1;
		int tipo = 7;
		bool found = m_GetRiga(m_hWnd, pContext, nRiga, &codice, &importo, &tipo);
		Row r{found, codice, importo, tipo};
		SysFreeString(codice);
		return r;
	}

	CUiThread m_UiThread;
	HWND m_hWnd = nullptr;
	CPlvCommandManager m_Manager;
	CAddOnLibraries m_Libs;
	RunFn m_Run = nullptr;
	DisposeFn m_Dispose = nullptr;
	GetRigaFn m_GetRiga = nullptr;
	GetTitoloFn m_GetTitolo = nullptr;
};

}  // namespace

TEST_F(ExportedFunctions, RunAndDisposeWorkOnTheWindowThreadFromAnyThread)
{
	const long hHere = m_Run(m_hWnd);
	long hThere = 0, hNoWindow = 0;
	bool disposedThere = false, disposedAgain = true;
	RunOnWorker(m_UiThread, [&] {
		hThere = m_Run(m_hWnd);
		disposedThere = m_Dispose(m_hWnd, hThere);
		disposedAgain = m_Dispose(m_hWnd, hThere);
	});
	hNoWindow = m_Run(nullptr);  // no window: runs where it is called, once

	for (long h : {hHere, hNoWindow})
	{
		ASSERT_NE(h, 0);
		EXPECT_STREQ(reinterpret_cast<CObject*>(h)->GetRuntimeClass()->m_lpszClassName, "TDocConti");
	}
	EXPECT_NE(hThere, 0);
	EXPECT_NE(hThere, hHere);
	EXPECT_TRUE(disposedThere);
	EXPECT_FALSE(disposedAgain);
	EXPECT_EQ(m_Manager.GetOpenDocuments().size(), 2u);

	// Any live document closes, whichever export opened it; anything else is refused.
	CObject* pStampa = Open("PlvTest.TestMod.TestDocs.BDStampa");
	DataInt notADocument;
	EXPECT_TRUE(m_Dispose(m_hWnd, reinterpret_cast<long>(pStampa)));
	EXPECT_FALSE(m_Dispose(m_hWnd, reinterpret_cast<long>(&notADocument)));
	EXPECT_FALSE(m_Dispose(m_hWnd, 0));
	EXPECT_TRUE(m_Dispose(m_hWnd, hHere));
	EXPECT_TRUE(m_Dispose(nullptr, hNoWindow));
	EXPECT_TRUE(m_Manager.GetOpenDocuments().empty());
}

TEST_F(ExportedFunctions, AMemberCalledFromAnotherThreadGivesWhatItGivesOnTheMainThread)
{
	CObject* pDoc = Open("PlvTest.TestMod.TestDocs.DConti");
	const Row expected[] = {
		{true, "C01", 10.5, 0x3AA70001},
		{true, "C02", -3.25, 0x3AA70002},
		{false, "prima", 1, 7},  // no such row: every argument still comes back
	};
	std::vector<Row> here, there;
	for (int i = 0; i < 3; ++i)
		here.push_back(ReadRow(pDoc, i));
	std::string titleHere, titleThere;
	auto title = [&] {
		BSTR prefisso = SysAllocString("Piano");
		BSTR t = m_GetTitolo(m_hWnd, pDoc, prefisso);
		std::string s = t;
		SysFreeString(t);
		SysFreeString(prefisso);
		return s;
	};
	titleHere = title();
	RunOnWorker(m_UiThread, [&] {
		for (int i = 0; i < 3; ++i)
			there.push_back(ReadRow(pDoc, i));
		titleThere = title();
	});
	EXPECT_EQ(here, std::vector<Row>(std::begin(expected), std::end(expected)));
	EXPECT_EQ(there, here);
	EXPECT_EQ(titleHere, "Piano conti");
	EXPECT_EQ(titleThere, titleHere);  // ran on the window's thread
}

TEST_F(ExportedFunctions, AByReferenceStringComesBackAsANewString)
{
	CObject* pDoc = Open("PlvTest.TestMod.TestDocs.DConti");
	const long alive = SysStringsAlive();
	for (int nRiga : {0, 9})
	{
		SCOPED_TRACE(nRiga);
		BSTR codice = SysAllocString("C01");  // the value the first row gives too
		double importo = 0;
		int tipo = 0;
		const long freed = SysStringsFreed();
		m_GetRiga(m_hWnd, pDoc, nRiga, &codice, &importo, &tipo);
		EXPECT_EQ(SysStringsFreed() - freed, 1);      // the one passed in was freed ...
		EXPECT_EQ(SysStringsAlive(), alive + 1);      // ... and the caller owns the one back
		EXPECT_STREQ(codice, "C01");
		SysFreeString(codice);
		EXPECT_EQ(SysStringsAlive(), alive);
	}
}

TEST_F(ExportedFunctions, AContextOfTheWrongClassIsRefusedAndNothingIsWrittenBack)
{
	CObject* pStampa = Open("PlvTest.TestMod.TestDocs.BDStampa");
	CObject* pClosed = Open("PlvTest.TestMod.TestDocs.DConti");
	static_cast<CBaseDocument*>(pClosed)->CloseDocument(TRUE);
	const long alive = SysStringsAlive();
	for (CObject* pContext : {pStampa, pClosed, static_cast<CObject*>(nullptr)})
	{
		BSTR codice = SysAllocString("prima");
		const long freed = SysStringsFreed();
		double importo = 1.5;
		int tipo = 3;
		std::string message;
		RunOnWorker(m_UiThread, [&] {
			try
			{
				m_GetRiga(m_hWnd, pContext, 0, &codice, &importo, &tipo);
			}
			catch (const CApplicationErrorException& e)
			{
				message = e.GetMessage().str();
			}
		});
		EXPECT_EQ(message, "Invalid context object: TDocConti");
		EXPECT_EQ(SysStringsFreed(), freed);  // the string given is left to the caller
		EXPECT_STREQ(codice, "prima");
		EXPECT_EQ(importo, 1.5);
		EXPECT_EQ(tipo, 3);
		SysFreeString(codice);
		EXPECT_EQ(SysStringsAlive(), alive);
	}
}

TEST_F(ExportedFunctions, ADocumentClosedBeforeTheCallReachesTheWindowIsRefused)
{
	CObject* pDoc = Open("PlvTest.TestMod.TestDocs.DConti");
	const long hDoc = reinterpret_cast<long>(pDoc);
	std::string message;
	bool disposed = false;
	// The worker queues the close, then the member call; the window's thread runs them in that order.
	std::thread worker([&] {
		CGlobalFunctionT<bool, HWND, long> close(m_hWnd, m_Dispose, m_hWnd, hDoc);
		close.Call(true);
		BSTR codice = SysAllocString("prima");
		double importo = 1;
		int tipo = 7;
		try
		{
			m_GetRiga(m_hWnd, pDoc, 0, &codice, &importo, &tipo);
		}
		catch (const CApplicationErrorException& e)
		{
			message = e.GetMessage().str();
		}
		SysFreeString(codice);
		close.Wait();
		disposed = close.GetResult();
	});
	const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
	while (m_UiThread.PendingCount() < 2 && std::chrono::steady_clock::now() < deadline)
		std::this_thread::sleep_for(std::chrono::milliseconds(1));
	while (m_UiThread.PumpPending() > 0 || m_UiThread.WaitForTask(std::chrono::milliseconds(50)))
	{
	}
	worker.join();
	EXPECT_TRUE(disposed);
	EXPECT_EQ(message, "Invalid context object: TDocConti");
	EXPECT_TRUE(m_Manager.GetOpenDocuments().empty());
}
