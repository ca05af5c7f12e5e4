#include "platform/plvges/tests/FormTestDocs.h"

#include <fstream>

#include "platform/plvgenlib/CommandManager.h"
#include "platform/plvrendoviewer/CRendoDoc.h"

namespace formtest {
namespace {

class BatchTest : public FormTest
{
protected:
	TLogBatchDoc* OpenBatch()
	{
		return static_cast<TLogBatchDoc*>(FormDriver::Open(m_Docs, RUNTIME_CLASS(TLogBatchDoc), RUNTIME_CLASS(CBatchFrame),
														   RUNTIME_CLASS(TLogBatchView)));
	}
};

TEST_F(BatchTest, BatchPollsTheAbortBetweenItems)
{
	FormDriver form(OpenBatch());
	auto* pDoc = static_cast<TLogBatchDoc*>(form.GetDocument());
	ASSERT_TRUE(pDoc && pDoc->IsABatchDocument());
	EXPECT_EQ(pDoc->m_nDisabled, 1);  // at opening
	struct Case
	{
		int abortAtPoll;  // 0: never
		int written;
	};
	const Case cases[] = {{3, 2}, {1, 0}, {0, 5}};
	for (const Case& c : cases)
	{
		SCOPED_TRACE(c.abortAtPoll);
		Sql("DELETE FROM T_Log");
		m_Ui.Clear();
		m_Ui.AbortAfterPolls(c.abortAtPoll);
		ASSERT_TRUE(form.RunBatch());
		EXPECT_EQ(pDoc->m_nWritten, c.written);
		EXPECT_EQ(Count("T_Log"), c.written);  // what was done before the abort is committed
		EXPECT_FALSE(pDoc->m_bEditableWhileRunning);
		EXPECT_FALSE(m_pConn->IsInTransaction());
		std::vector<CString> progress = m_Ui.ProgressTexts();
		ASSERT_FALSE(progress.empty());
		EXPECT_EQ(progress.back(), c.abortAtPoll ? CString("Elaborazione interrotta su richiesta utente.")
												 : CString("Elemento 5"));
		// A batch that says nothing of what it kept: the platform says whether it committed.
		EXPECT_EQ(m_Ui.StoppedTexts(),
				  c.abortAtPoll ? std::vector<CString>{"Elaborazione interrotta su richiesta utente: quanto elaborato "
													   "prima dell'interruzione è stato salvato."}
								: std::vector<CString>{});
		// The document's own buffer shows what was done; its rows are the document's to add.
		EXPECT_EQ(form.RowCount("Esito"), c.written);
		EXPECT_FALSE(form.AddRow("Esito"));
	}
	EXPECT_EQ(form.Cell("Esito", 1, "Nr."), "2");
	EXPECT_TRUE(form.IsCellEditable("Esito", 1, "Testo"));
	EXPECT_FALSE(form.IsCellEditable("Esito", 1, "Id"));
	EXPECT_EQ(pDoc->m_nDisabled, 4);  // after each run

	// The parameters' states come from DisableControlsForBatch.
	EXPECT_TRUE(form.IsEditable("Elementi"));
	ASSERT_TRUE(form.Press("Scrivi"));
	EXPECT_FALSE(form.IsEditable("Elementi"));
	EXPECT_FALSE(form.Type("Elementi", "2"));
}

TEST_F(BatchTest, BatchWithoutTransactionSaysSo)
{
	FormDriver form(OpenBatch());
	auto* pDoc = static_cast<TLogBatchDoc*>(form.GetDocument());
	ASSERT_TRUE(pDoc->GetContext()->StartTransaction());  // the document's context is busy
	EXPECT_FALSE(form.RunBatch());  // a run that could not start is no success
	EXPECT_EQ(m_Ui.LastMessage(), "Non è possibile aprire una nuova transazione.");
	EXPECT_EQ(form.GetLastError(), "Non è possibile aprire una nuova transazione.");  // the document's own reason
	EXPECT_EQ(pDoc->m_nWritten, 0);
	EXPECT_EQ(pDoc->m_nDisabled, 2);
	pDoc->GetContext()->Rollback();
	EXPECT_EQ(Count("T_Log"), 0);
}

TEST_F(BatchTest, RunLeftWithItsTransactionOpenFailsAndKeepsNothing)
{
	FormDriver form(OpenBatch());
	auto* pDoc = static_cast<TLogBatchDoc*>(form.GetDocument());
	pDoc->m_bLeaveOpen = true;
	EXPECT_FALSE(form.RunBatch());
	EXPECT_EQ(form.GetLastError(), "The batch ended without success: see its messages and status.");
	EXPECT_EQ(pDoc->m_nWritten, 5);
	EXPECT_EQ(Count("T_Log"), 0);
	EXPECT_FALSE(m_pConn->IsInTransaction());
	EXPECT_FALSE(AfxGetApplicationContext()->GetAssertionReports().empty());
	pDoc->m_bLeaveOpen = false;
	ASSERT_TRUE(form.RunBatch());
	EXPECT_EQ(Count("T_Log"), 5);
}

TEST_F(BatchTest, RadioButtonsExcludeEachOther)
{
	FormDriver form(OpenBatch());
	auto* pDoc = static_cast<TLogBatchDoc*>(form.GetDocument());
	ASSERT_TRUE(form.Press("Modo B"));
	EXPECT_FALSE(pDoc->m_ModoA);
	EXPECT_TRUE(pDoc->m_ModoB);
	// Both buttons tell their change, each seeing the final choice.
	EXPECT_EQ(pDoc->m_Changes, (std::vector<CString>{"B=1", "A=0"}));
	ASSERT_TRUE(form.Press("Modo B"));  // chosen already: nothing changes
	EXPECT_FALSE(form.Type("Modo B", "0"));  // a radio button is cleared only by choosing another
	ASSERT_TRUE(form.Type("Modo A", "1"));
	EXPECT_EQ(pDoc->m_Changes.size(), 4u);
	EXPECT_TRUE(pDoc->m_ModoA);
	EXPECT_FALSE(pDoc->m_ModoB);
}

TEST_F(FormTest, ChildDocumentDisablesItsCallerUntilItCloses)
{
	Sql("INSERT INTO T_Ordini VALUES ('O1', 'C1', 'Primo', 0, 0, 0)");
	FormDriver form(OpenOrdini());
	auto* pDoc = static_cast<TOrdiniDoc*>(form.GetDocument());
	ASSERT_TRUE(form.First());
	ASSERT_TRUE(form.Edit());
	ASSERT_TRUE(form.Press("Dettaglio"));
	ASSERT_EQ(m_Docs.GetDocuments().size(), 2u);
	FormDriver child(m_Docs.GetDocuments().back());
	auto* pChild = static_cast<TDettaglioDoc*>(child.GetDocument());
	EXPECT_EQ(pChild->GetCallerDocument(), pDoc);
	EXPECT_EQ(child.Text("Nota"), "Primo");

	// The caller takes no input while its child is open.
	EXPECT_FALSE(pDoc->GetMasterFrame()->IsWindowEnabled());
	EXPECT_FALSE(form.Type("Descrizione ordine", "x"));
	EXPECT_FALSE(form.Save());
	EXPECT_FALSE(form.IsEditable("Descrizione ordine"));

	// The child's OK writes into its caller and closes the child once the click is over.
	ASSERT_TRUE(child.Type("Nota", "Dal dettaglio"));
	ASSERT_TRUE(child.Press("OK"));
	EXPECT_FALSE(child.IsOpen());
	EXPECT_EQ(m_Docs.GetDocuments().size(), 1u);
	EXPECT_TRUE(pDoc->GetMasterFrame()->IsWindowEnabled());
	EXPECT_EQ(form.Text("Descrizione ordine"), "Dal dettaglio");
	EXPECT_TRUE(form.IsModified());
	ASSERT_TRUE(form.Save());
	EXPECT_EQ(Value("SELECT Descrizione FROM T_Ordini"), "Dal dettaglio");

	// Without an orders document as caller the child does not open.
	EXPECT_EQ(FormDriver::Open(m_Docs, RUNTIME_CLASS(TDettaglioDoc), RUNTIME_CLASS(CBatchFrame),
							   RUNTIME_CLASS(TDettaglioView)),
			  nullptr);
	EXPECT_EQ(m_Docs.GetDocuments().size(), 1u);
}

TEST_F(FormTest, ClientDocumentRidesAlongWithItsHost)
{
	AfxSetClientDocAttacher([](CBaseDocument* pHost, CClientDocArray* pClients) {
		if (auto* pDoc = DynamicDownCast<CAbstractFormDoc>(pHost); pDoc && pDoc->HasClientDocToAttach("DOrdini"))
		{
			auto* pClient = new TNoteClientDoc;
			pClient->Init("ClientDocNote", CPLVNamespace("Library.Test.Ordini.Note"));
			pClients->Add(pClient);
		}
	});
	FormDriver form(OpenOrdini());
	auto* pDoc = static_cast<TOrdiniDoc*>(form.GetDocument());
	ASSERT_EQ(pDoc->GetClientDocs()->GetSize(), 1);
	auto* pClient = static_cast<TNoteClientDoc*>(pDoc->GetClientDocs()->GetAt(0));
	EXPECT_EQ(pClient->GetServerDoc(), pDoc);
	auto* pTabs = static_cast<CAbstractFormView*>(pDoc->GetFirstView())->GetTabManager("Schede");
	ASSERT_EQ(pTabs->GetDialogCount(), 2);
	EXPECT_EQ(pTabs->GetDialog(1)->GetTitle(), "Note");

	EnterOrder(form, "O7", {});
	EXPECT_EQ(pClient->m_nClienteChanged, 1);  // the host's control, heard by the client too
	EXPECT_GE(pClient->m_nPrepared, 1);
	ASSERT_TRUE(form.ActivateTab("Schede", "Note"));
	ASSERT_TRUE(form.Type("Nota", "Consegna urgente"));
	pClient->m_bRefuseSave = true;
	EXPECT_FALSE(form.Save());
	EXPECT_EQ(m_Ui.LastMessage(), "Nota obbligatoria.");
	EXPECT_EQ(Count("T_Ordini"), 0);
	pClient->m_bRefuseSave = false;
	ASSERT_TRUE(form.Save());
	EXPECT_EQ(Value("SELECT Nota FROM T_OrdiniNote WHERE Numero = 'O7'"), "Consegna urgente");
	ASSERT_TRUE(form.Edit());
	ASSERT_TRUE(form.Type("Nota", "Ritiro"));
	ASSERT_TRUE(form.Save());
	EXPECT_EQ(Value("SELECT Nota FROM T_OrdiniNote WHERE Numero = 'O7'"), "Ritiro");
	ASSERT_TRUE(form.Delete());
	EXPECT_EQ(Count("T_OrdiniNote"), 0);
}

struct DisposeWatcher : IDisposingHandler
{
	int disposed = 0;
	void OnDisposing(void*) override { ++disposed; }
};

TEST_F(FormTest, AutomationInterfaceDrivesTheDocument)
{
	Sql("INSERT INTO T_Ordini VALUES ('O1', 'C1', 'Primo', 0, 0, 0), ('O2', 'C2', 'Secondo', 0, 0, 0)");
	FormDriver form(OpenOrdini());
	auto* pDoc = static_cast<TOrdiniDoc*>(form.GetDocument());
	ADMObj* pADM = pDoc->GetADM();
	ASSERT_TRUE(pADM);
	EXPECT_STREQ(*pADM->GetADMClass(), "TADMOrdini");
	EXPECT_EQ(pADM->GetDocument(), pDoc);

	// A caller positions the document on a record by its key.
	pDoc->GetOrdine()->f_Numero = "O2";
	EXPECT_TRUE(pDoc->BrowseRecord(TRUE, 0));
	EXPECT_EQ(form.Text("Descrizione ordine"), "Secondo");
	int browsed = pDoc->m_nBrowseMode;
	CMessages messages;
	pADM->ADMSetMessages(&messages);
	ASSERT_TRUE(pADM->ADMEditDocument());
	pDoc->GetOrdine()->f_Descrizione = "Cambiato";
	ASSERT_TRUE(pADM->ADMSaveDocument());
	EXPECT_EQ(pDoc->m_nBrowseMode, browsed + 1);
	EXPECT_EQ(Count("T_Ordini", "Descrizione = 'Cambiato'"), 1);
	ASSERT_TRUE(pADM->ADMNewDocument());
	EXPECT_FALSE(pADM->ADMSaveDocument());  // no key: the buffer's error goes to the caller's list
	ASSERT_EQ(messages.GetMessages().size(), 1u);
	EXPECT_EQ(messages.GetMessages()[0].text, "Empty primary key segment.");

	DisposeWatcher watcher;
	pADM->AddDisposingHandler(&watcher);
	pDoc->EscapeRecord();
	ASSERT_TRUE(form.Close());
	EXPECT_EQ(watcher.disposed, 1);
}

}  // namespace
}  // namespace formtest

namespace formtest {
namespace {

TEST_F(FormTest, TheBrowseListWritesTheMasterRecordsWhenTheDocumentOffersIt)
{
	CPlvCommandManager manager;
	manager.Install();
	CReportRenderer& renderer = *AfxGetReportRenderer();
	renderer.SetFolder(m_Dir.File("liste").str());
	renderer.SetFormat(ReportFormat::Csv);
	std::vector<std::filesystem::path> written;
	renderer.SetListener([&](const std::filesystem::path& p) { written.push_back(p); });

	Sql("INSERT INTO T_Ordini VALUES ('O2', 'C2', 'Secondo; più urgente', 0, 1, 12.5), ('O1', 'C1', 'Primo', 0, 0, 0)");
	FormDriver ordini(OpenOrdini());
	EXPECT_TRUE(ordini.Radar()) << m_Ui.LastMessage().str();
	ASSERT_EQ(written.size(), 1u);
	std::ifstream is(written[0], std::ios::binary);
	std::string line;
	std::vector<std::string> lines;
	while (std::getline(is, line))
		lines.push_back(line);
	ASSERT_EQ(lines.size(), 3u);
	// The columns under the form's texts.
	EXPECT_EQ(lines[0].rfind("\xEF\xBB\xBFNumero;Cliente;Descrizione ordine;", 0), 0u) << lines[0];
	EXPECT_EQ(lines[1].rfind("O1;C1;Primo;", 0), 0u) << lines[1];  // by primary key
	EXPECT_EQ(lines[2].rfind("O2;C2;\"Secondo; più urgente\";", 0), 0u) << lines[2];
	EXPECT_NE(lines[2].find(";12,50\r"), std::string::npos) << lines[2];

	// A batch document has no records to list.
	FormDriver batch(FormDriver::Open(m_Docs, RUNTIME_CLASS(TLogBatchDoc), RUNTIME_CLASS(CBatchFrame),
									  RUNTIME_CLASS(TLogBatchView)));
	EXPECT_FALSE(batch.Radar());
	EXPECT_EQ(m_Ui.LastMessage(), "This document offers no browse list.");
	EXPECT_EQ(written.size(), 1u);

	renderer.SetListener(nullptr);
	renderer.SetFolder({});
	renderer.SetFormat(std::nullopt);
}

}  // namespace
}  // namespace formtest
