#include "platform/plvges/tests/FormTestDocs.h"

namespace formtest {
namespace {

TEST_F(FormTest, MasterWithGridSavesInOneTransaction)
{
	FormDriver form(OpenOrdini());
	auto* pDoc = static_cast<TOrdiniDoc*>(form.GetDocument());
	ASSERT_TRUE(pDoc);
	EXPECT_EQ(form.Mode(), CBaseDocument::BROWSE);
	EXPECT_FALSE(pDoc->HasRecord());

	EnterOrder(form, "o1", {{"b", "2", "10"}, {"a", "1,5", "4"}});
	EXPECT_EQ(form.Text("Stato"), "500:1");  // the new-record default of OnPrepareAuxData
	EXPECT_EQ(form.Cell("Righe", 1, "Quantità"), "1.500");
	EXPECT_TRUE(form.IsModified());
	ASSERT_TRUE(form.Save()) << form.GetLastError();
	EXPECT_TRUE(pDoc->m_bOkInTransaction);
	EXPECT_EQ(form.Mode(), CBaseDocument::BROWSE);
	EXPECT_FALSE(form.IsModified());
	EXPECT_EQ(Count("T_Ordini", "Numero = 'O1' AND Cliente = 'C1' AND Stato = 32768001"), 1);
	EXPECT_EQ(Count("T_OrdiniRighe", "Numero = 'O1'"), 2);
	// Shown as stored: the rows in their query's order, with their local columns prepared.
	EXPECT_EQ(form.Cell("Righe", 0, "Articolo"), "A");
	EXPECT_EQ(form.Cell("Righe", 0, "Desc"), "Articolo A");
	EXPECT_EQ(pDoc->m_pRighe->GetOldSize(), 2);

	// Editing: a row changed, one deleted, one added; the stored rows stay as read.
	ASSERT_TRUE(form.Edit());
	ASSERT_TRUE(form.TypeCell("Righe", 0, "Quantita", "3"));
	ASSERT_TRUE(form.DeleteRow("Righe", 1));
	EXPECT_EQ(pDoc->m_pRighe->m_nDeleted, 1);
	ASSERT_TRUE(form.AddRow("Righe"));
	ASSERT_TRUE(form.TypeCell("Righe", 1, "Articolo", "c"));
	EXPECT_EQ(form.Cell("Righe", 1, "Quantita"), "1.000");  // OnPrepareRow
	EXPECT_EQ(pDoc->m_pRighe->GetOldSize(), 2);
	EXPECT_EQ(static_cast<TOrdiniRighe*>(pDoc->m_pRighe->GetOldRow(0))->f_Quantita.GetValue(), 1.5);
	ASSERT_TRUE(form.Save()) << form.GetLastError();
	EXPECT_EQ(Count("T_OrdiniRighe", "Numero = 'O1'"), 2);
	EXPECT_EQ(Count("T_OrdiniRighe", "Articolo = 'A' AND Quantita = 3"), 1);
	EXPECT_EQ(Count("T_OrdiniRighe", "Articolo = 'B'"), 0);
	EXPECT_EQ(Count("T_OrdiniRighe", "Articolo = 'C' AND Quantita = 1"), 1);
	EXPECT_TRUE(Shown().empty());
}

// New rows go many a statement, past what one statement binds too: each stored as typed.
TEST_F(FormTest, ManyNewRowsAreStoredWhole)
{
	FormDriver form(OpenOrdini());
	EnterOrder(form, "O2", {{"A", "1", "1"}});
	constexpr int kRighe = 600;  // over twice the rows one statement takes of four columns
	for (int i = 1; i < kRighe; ++i)
	{
		ASSERT_TRUE(form.AddRow("Righe")) << form.GetLastError();
		const int row = form.RowCount("Righe") - 1;
		ASSERT_TRUE(form.TypeCell("Righe", row, "Articolo", CString::Formatted("X%03d", i).GetString()));
		ASSERT_TRUE(form.TypeCell("Righe", row, "Quantita", std::to_string(i).c_str()));
	}
	ASSERT_TRUE(form.Save()) << form.GetLastError();
	EXPECT_EQ(Count("T_OrdiniRighe", "Numero = 'O2'"), kRighe);
	for (int i : {1, 249, 250, 251, 499, 500, kRighe - 1})
		EXPECT_EQ(Count("T_OrdiniRighe", CString::Formatted("Articolo = 'X%03d' AND Quantita = %d", i, i).GetString()), 1)
			<< i;
	// Added to rows already stored, with one of them changed.
	ASSERT_TRUE(form.Edit());
	ASSERT_TRUE(form.TypeCell("Righe", 0, "Quantita", "7"));
	ASSERT_TRUE(form.AddRow("Righe"));
	ASSERT_TRUE(form.TypeCell("Righe", kRighe, "Articolo", "Z"));
	ASSERT_TRUE(form.Save()) << form.GetLastError();
	EXPECT_EQ(Count("T_OrdiniRighe", "Numero = 'O2'"), kRighe + 1);
	EXPECT_EQ(Count("T_OrdiniRighe", "Articolo = 'A' AND Quantita = 7"), 1);
	EXPECT_EQ(Count("T_OrdiniRighe", "Articolo = 'Z'"), 1);
}

TEST_F(FormTest, SaveRefusedOrFailingWritesNothing)
{
	struct Case
	{
		const char* name;
		bool refuse;
		bool duplicates;  // two rows with one key, unchecked: the database refuses the second
		const char* shown;
	};
	const Case cases[] = {
		{"refused by OnOkTransaction", true, false, nullptr},
		{"SqlException while writing", false, true, "UNIQUE"},
	};
	for (const Case& c : cases)
	{
		SCOPED_TRACE(c.name);
		m_Ui.Clear();
		FormDriver form(OpenOrdini());
		auto* pDoc = static_cast<TOrdiniDoc*>(form.GetDocument());
		pDoc->m_bRefuseSave = c.refuse;
		pDoc->m_bLogInSave = true;  // the hook writes too: it must go back with the rest
		pDoc->m_pRighe->m_bCheckDuplicates = !c.duplicates;
		EnterOrder(form, "O2", {{"A", "1", "1"}, {c.duplicates ? "A" : "B", "2", "2"}});
		EXPECT_FALSE(form.Save());
		EXPECT_EQ(Count("T_Ordini"), 0);
		EXPECT_EQ(Count("T_OrdiniRighe"), 0);
		EXPECT_EQ(Count("T_Log"), 0);
		EXPECT_FALSE(m_pConn->IsInTransaction());
		// The form keeps its mode and what the user typed.
		EXPECT_EQ(form.Mode(), CBaseDocument::NEW);
		EXPECT_EQ(form.Text("Numero"), "O2");
		EXPECT_EQ(form.RowCount("Righe"), 2);
		if (c.shown)
		{
			EXPECT_NE(m_Ui.LastMessage().Find(c.shown), -1) << m_Ui.LastMessage().GetString();
		}
		else
		{
			EXPECT_TRUE(Shown().empty());
		}

		pDoc->m_bRefuseSave = false;
		pDoc->m_pRighe->m_bCheckDuplicates = true;
		if (c.duplicates)
		{
			ASSERT_TRUE(form.TypeCell("Righe", 1, "Articolo", "B"));
		}
		ASSERT_TRUE(form.Save()) << form.GetLastError();
		EXPECT_EQ(Count("T_OrdiniRighe"), 2);
		EXPECT_EQ(Count("T_Log"), 1);
		ASSERT_TRUE(form.Delete());
		Sql("DELETE FROM T_Log");
		ASSERT_TRUE(form.Close());
	}
}

TEST_F(FormTest, KeyChecksShowTheFrameworkTexts)
{
	EXPECT_STREQ(DBTObject::szEmptyPrimaryKeySegment, "Empty primary key segment.");
	EXPECT_STREQ(DBTObject::szEmptyForeignKeySegment, "Empty foreign key segment.");
	EXPECT_STREQ(DBTObject::szDuplicatedKey, "Duplicated Key in %s");

	FormDriver form(OpenOrdini());
	auto* pDoc = static_cast<TOrdiniDoc*>(form.GetDocument());
	struct Case
	{
		const char* numero;
		std::vector<const char*> articoli;
		const char* message;
		int currentRow;
	};
	const Case cases[] = {
		{"", {"A"}, "Empty primary key segment.", -1},
		{"O3", {"A", ""}, "Empty primary key segment.", 1},
		{"O3", {"A", "B", "a"}, "Duplicated Key in T_OrdiniRighe", 2},
	};
	for (const Case& c : cases)
	{
		SCOPED_TRACE(c.message);
		m_Ui.Clear();
		ASSERT_TRUE(form.New());
		ASSERT_TRUE(form.Type("Numero", c.numero));
		for (const char* articolo : c.articoli)
		{
			ASSERT_TRUE(form.AddRow("Righe"));
			ASSERT_TRUE(form.TypeCell("Righe", form.RowCount("Righe") - 1, "Articolo", articolo));
			ASSERT_TRUE(form.TypeCell("Righe", form.RowCount("Righe") - 1, "Prezzo", "1"));
		}
		ASSERT_TRUE(form.SelectRow("Righe", 0));
		EXPECT_FALSE(form.Save());
		EXPECT_EQ(m_Ui.LastMessage(), c.message);
		EXPECT_EQ(pDoc->m_nOkTransaction, 0);  // checks come before the transaction
		if (c.currentRow >= 0)
		{
			EXPECT_EQ(form.CurrentRow("Righe"), c.currentRow);
			EXPECT_EQ(pDoc->GetCtrlFocus(), c.articoli.size() == 3 ? IDC_RIGHE_ARTICOLO : 0u);
		}
		EXPECT_EQ(Count("T_Ordini"), 0);
		ASSERT_TRUE(form.Escape());
	}
	// A row the user added and left empty is not saved at all.
	ASSERT_TRUE(form.New());
	ASSERT_TRUE(form.Type("Numero", "O4"));
	ASSERT_TRUE(form.AddRow("Righe"));
	ASSERT_TRUE(form.TypeCell("Righe", 0, "Quantita", "0"));
	ASSERT_TRUE(form.Save()) << m_Ui.LastMessage().GetString();
	EXPECT_EQ(Count("T_OrdiniRighe"), 0);
}

TEST_F(FormTest, ControlStatesFollowTheModeAndTheHooks)
{
	Sql("INSERT INTO T_Ordini VALUES ('O1', 'C1', 'Primo', 32768000, 0, 0)");
	Sql("INSERT INTO T_OrdiniRighe VALUES ('O1', 'A', 1, 2)");
	FormDriver form(OpenOrdini());
	ASSERT_TRUE(form.First());

	const char* controls[] = {"Numero", "Cliente", "Descrizione ordine", "Urgente", "Totale"};
	struct Case
	{
		const char* mode;
		BOOL (FormDriver::*enter)();
		std::vector<BOOL> editable;  // in the order of controls, then the grid's Quantita cell
	};
	const Case cases[] = {
		{"browse", &FormDriver::Escape, {FALSE, FALSE, FALSE, FALSE, FALSE, FALSE}},
		{"edit", &FormDriver::Edit, {FALSE, TRUE, TRUE, TRUE, FALSE, TRUE}},
		{"browse after edit", &FormDriver::Escape, {FALSE, FALSE, FALSE, FALSE, FALSE, FALSE}},
		{"find", &FormDriver::Find, {TRUE, FALSE, TRUE, FALSE, FALSE, FALSE}},
		{"browse after find", &FormDriver::Escape, {FALSE, FALSE, FALSE, FALSE, FALSE, FALSE}},
		{"new", &FormDriver::New, {TRUE, TRUE, TRUE, TRUE, FALSE, TRUE}},
	};
	for (const Case& c : cases)
	{
		SCOPED_TRACE(c.mode);
		(form.*c.enter)();
		for (size_t i = 0; i < std::size(controls); ++i)
			EXPECT_EQ(form.IsEditable(controls[i]), c.editable[i]) << controls[i];
		if (form.RowCount("Righe") == 0)
		{
			ASSERT_TRUE(form.AddRow("Righe") || form.Mode() != CBaseDocument::NEW);
		}
		EXPECT_EQ(form.IsCellEditable("Righe", 0, "Quantita"), c.editable[5]);
		EXPECT_FALSE(form.IsCellEditable("Righe", 0, "Desc"));
	}
	// A read-only control refuses input and fires nothing.
	ASSERT_TRUE(form.Escape());
	EXPECT_FALSE(form.Type("Descrizione ordine", "x"));
	EXPECT_FALSE(form.AddRow("Righe"));

	// A handler's state holds for the rest of the edit and is reset on entering it again.
	ASSERT_TRUE(form.Edit());
	ASSERT_TRUE(form.Press("Urgente"));
	EXPECT_FALSE(form.IsEditable("Descrizione ordine"));
	EXPECT_FALSE(form.Type("Descrizione ordine", "x"));
	ASSERT_TRUE(form.Escape());
	ASSERT_TRUE(form.Edit());
	EXPECT_TRUE(form.IsEditable("Descrizione ordine"));
	// Controls are found by their record's column too.
	EXPECT_EQ(form.Control("Descrizione"), form.Control("Descrizione ordine"));
	EXPECT_EQ(form.Text("Descrizione"), "Primo");
}

TEST_F(FormTest, LookupRefusesThroughIsValid)
{
	FormDriver form(OpenOrdini());
	auto* pDoc = static_cast<TOrdiniDoc*>(form.GetDocument());
	ASSERT_TRUE(form.New());
	struct Case
	{
		const char* typed;
		bool accepted;
		const char* message;  // shown when refused
		const char* stored;
		const char* description;
	};
	const Case cases[] = {
		{"c2", false, "Cliente bloccato.", "", ""},           // exists, refused by the document's test
		{"X9", false, "Il codice 'X9' non esiste.", "", ""},  // the framework's test runs first
		{"c1", true, nullptr, "C1", "Rossi"},
		{"C2", false, "Cliente bloccato.", "C1", "Rossi"},  // a refusal keeps the value before
		{"", true, nullptr, "", ""},
	};
	pDoc->SetCtrlFocus(0);
	for (const Case& c : cases)
	{
		SCOPED_TRACE(c.typed);
		m_Ui.Clear();
		size_t notified = pDoc->m_Changes.size();
		EXPECT_EQ(form.Type("Cliente", c.typed), c.accepted);
		EXPECT_EQ(form.Text("Cliente"), c.stored);
		EXPECT_EQ(form.Description("Cliente"), c.description);
		if (c.accepted)
		{
			EXPECT_TRUE(Shown().empty());
			ASSERT_EQ(pDoc->m_Changes.size(), notified + 1);
			EXPECT_EQ(pDoc->m_Changes.back(), "Cliente");
			EXPECT_EQ(form.Text("LINK_DES_CLIENTE"), c.description);
		}
		else
		{
			EXPECT_EQ(m_Ui.LastMessage(), c.message);
			EXPECT_EQ(pDoc->m_Changes.size(), notified);
		}
	}
	EXPECT_EQ(pDoc->m_strOldCliente, "C1");  // the handler of the last change saw the value before it

	// Choosing from the lookup's list: by description, or the second code of a pattern.
	ASSERT_TRUE(form.Pick("Cliente", HotKeyLink::LOWER_BUTTON, "Ro"));
	EXPECT_EQ(form.Text("Cliente"), "C1");
	EXPECT_FALSE(form.Pick("Cliente", HotKeyLink::UPPER_BUTTON, "C", 1));
	EXPECT_EQ(m_Ui.LastMessage(), "Cliente bloccato.");
	EXPECT_FALSE(form.Pick("Cliente", HotKeyLink::UPPER_BUTTON, "C", 2));
}

TEST_F(FormTest, BrowseFindAndDelete)
{
	Sql("INSERT INTO T_Ordini VALUES ('O1', 'C1', 'Primo', 0, 0, 0), ('O2', 'C1', 'Secondo', 0, 0, 0), "
		"('O3', 'C2', 'Terzo', 0, 0, 0)");
	Sql("INSERT INTO T_OrdiniRighe VALUES ('O2', 'A', 1, 1), ('O2', 'B', 1, 1), ('O3', 'A', 1, 1)");
	FormDriver form(OpenOrdini());
	auto* pDoc = static_cast<TOrdiniDoc*>(form.GetDocument());
	EXPECT_FALSE(form.Prev());
	ASSERT_TRUE(form.Next());
	EXPECT_EQ(form.Text("Numero"), "O1");
	EXPECT_EQ(form.Text("LINK_DES_CLIENTE"), "Rossi");
	ASSERT_TRUE(form.Next());
	EXPECT_EQ(form.RowCount("Righe"), 2);
	ASSERT_TRUE(form.Last());
	EXPECT_EQ(form.Text("Numero"), "O3");
	EXPECT_FALSE(form.Next());
	ASSERT_TRUE(form.Prev());
	EXPECT_EQ(form.Text("Numero"), "O2");

	// A search by the beginning of the description.
	ASSERT_TRUE(form.Find());
	EXPECT_EQ(form.Text("Numero"), "");
	EXPECT_FALSE(form.Type("Cliente", "C1"));  // not findable
	ASSERT_TRUE(form.Type("Descrizione ordine", "Te"));
	ASSERT_TRUE(form.Save());
	EXPECT_EQ(form.Text("Numero"), "O3");
	EXPECT_EQ(form.RowCount("Righe"), 1);
	ASSERT_TRUE(form.Find());
	ASSERT_TRUE(form.Type("Descrizione ordine", "Nessuno"));
	EXPECT_FALSE(form.Save());
	EXPECT_EQ(m_Ui.LastMessage(), "Nessun documento trovato.");
	EXPECT_EQ(form.Mode(), CBaseDocument::FIND);
	ASSERT_TRUE(form.Escape());
	EXPECT_EQ(form.Text("Numero"), "O3");

	// Deleting takes the rows with it and shows the record that followed.
	ASSERT_TRUE(form.First());
	ASSERT_TRUE(form.Next());
	pDoc->m_bCanDelete = false;
	EXPECT_FALSE(form.Delete());
	pDoc->m_bCanDelete = true;
	ASSERT_TRUE(form.Delete());
	EXPECT_EQ(Count("T_Ordini", "Numero = 'O2'"), 0);
	EXPECT_EQ(Count("T_OrdiniRighe", "Numero = 'O2'"), 0);
	EXPECT_EQ(Count("T_OrdiniRighe"), 1);
	EXPECT_EQ(form.Text("Numero"), "O3");
	ASSERT_TRUE(form.Prev());
	EXPECT_EQ(form.Text("Numero"), "O1");
}

TEST_F(FormTest, FindFiltersOnlyOnWhatWasTyped)
{
	// Stored states: item 0 and item 1 of the enumeration.
	Sql("INSERT INTO T_Ordini VALUES ('O1', 'C1', 'Primo', 32768000, 0, 0), ('O2', 'C1', 'Secondo', 32768001, 0, 0)");
	FormDriver form(OpenOrdini());
	ASSERT_TRUE(form.Find());
	EXPECT_EQ(form.Text("Stato"), "");  // an enumeration starts empty too
	ASSERT_TRUE(form.Type("Descrizione ordine", "Sec"));
	ASSERT_TRUE(form.Save()) << form.GetLastError();
	EXPECT_EQ(form.Text("Numero"), "O2");

	ASSERT_TRUE(form.Find());
	ASSERT_TRUE(form.Type("Stato", "0"));  // an item keeps the enumeration's tag
	EXPECT_EQ(form.Text("Stato"), "500:0");
	ASSERT_TRUE(form.Save()) << form.GetLastError();
	EXPECT_EQ(form.Text("Numero"), "O1");

	// An item typed, then taken back: the enumeration no longer filters.
	ASSERT_TRUE(form.Find());
	ASSERT_TRUE(form.Type("Descrizione ordine", "Sec"));
	ASSERT_TRUE(form.Type("Stato", "0"));
	ASSERT_TRUE(form.Type("Stato", ""));
	ASSERT_TRUE(form.Save()) << form.GetLastError();
	EXPECT_EQ(form.Text("Numero"), "O2");

	// Outside a search an enumeration keeps an item.
	ASSERT_TRUE(form.Edit());
	EXPECT_FALSE(form.Type("Stato", ""));
}

TEST_F(FormTest, GridNotificationsAndCommands)
{
	FormDriver form(OpenOrdini());
	auto* pDoc = static_cast<TOrdiniDoc*>(form.GetDocument());
	EnterOrder(form, "O5", {{"A", "2", "10"}, {"B", "1", "5"}});
	pDoc->m_Changes.clear();
	ASSERT_TRUE(form.TypeCell("Righe", 0, "Quantita", "3"));  // another row: it becomes current first
	ASSERT_TRUE(form.TypeCell("Righe", 0, "Quantita", "3"));  // the same value: no notification
	ASSERT_TRUE(form.SelectRow("Righe", 0));                   // the current row: no row change
	ASSERT_TRUE(form.DoubleClick("Righe", 1, "Prezzo"));
	EXPECT_EQ(pDoc->m_Changes, (std::vector<CString>{"Riga 0", "Quantita", "Riga 1"}));
	EXPECT_EQ(form.Grid("Righe")->GetLastHitColumn(), 2);
	EXPECT_FALSE(form.TypeCell("Righe", 0, "Desc", "x"));  // a static column
	EXPECT_FALSE(form.TypeCell("Righe", 0, "Quantita", "tre"));

	ASSERT_TRUE(form.Press("Ricalcola"));
	EXPECT_EQ(form.Text("Totale"), "35.00");
	pDoc->m_pRighe->m_bKeepRows = true;
	EXPECT_FALSE(form.DeleteRow("Righe", 0));
	EXPECT_EQ(form.RowCount("Righe"), 2);
	ASSERT_TRUE(form.Command(ID_AZZERA));
	EXPECT_EQ(form.RowCount("Righe"), 0);
	EXPECT_FALSE(form.Command(ID_AZZERA + 1));
	// A column's lookup can be replaced: the cell then checks against it.
	ASSERT_TRUE(form.AddRow("Righe"));
	form.Grid("Righe")->GetColumn("Articolo")->GetParsedCtrl()->ReattachHotKeyLink(pDoc->m_pHKLClienti, FALSE);
	EXPECT_FALSE(form.TypeCell("Righe", 0, "Articolo", "ZZ"));
	EXPECT_EQ(m_Ui.LastMessage(), "Il codice 'ZZ' non esiste.");
	ASSERT_TRUE(form.PickCell("Righe", 0, "Articolo", HotKeyLink::UPPER_BUTTON, "C"));
	EXPECT_EQ(form.Cell("Righe", 0, "Articolo"), "C1");
	// Retitling a column finds it under its new title.
	form.Grid("Righe")->GetColumn("Prezzo")->SetTitle("Prezzo unitario");
	EXPECT_EQ(form.Grid("Righe")->GetColumn("Prezzo unitario"), form.Grid("Righe")->GetColumn("Prezzo"));
}

TEST_F(FormTest, CloseAsksToSaveChanges)
{
	struct Case
	{
		int answer;
		bool closed;
		long saved;
	};
	const Case cases[] = {{IDCANCEL, false, 0}, {IDYES, true, 1}, {IDNO, true, 0}};
	for (const Case& c : cases)
	{
		SCOPED_TRACE(c.answer);
		Sql("DELETE FROM T_Ordini");
		m_Ui.Clear();
		FormDriver form(OpenOrdini());
		ASSERT_TRUE(form.New());
		ASSERT_TRUE(form.Type("Numero", "O6"));
		FormDriver::Answer(c.answer);
		EXPECT_EQ(form.Close(), c.closed);
		EXPECT_EQ(form.IsOpen(), !c.closed);
		EXPECT_EQ(m_Ui.Messages().at(0).type & MB_TYPEMASK, static_cast<UINT>(MB_YESNOCANCEL));
		EXPECT_EQ(Count("T_Ordini"), c.saved);
		if (form.IsOpen())
		{
			ASSERT_TRUE(form.Escape());
			ASSERT_TRUE(form.Close());  // nothing left to ask
			EXPECT_EQ(m_Ui.Messages().size(), 1u);
		}
	}
}

TEST_F(FormTest, ModalDialogIsAnswered)
{
	FormDriver form(OpenOrdini());
	auto* pDoc = static_cast<TOrdiniDoc*>(form.GetDocument());
	// Unanswered, the user presses OK on what the dialog proposes.
	ASSERT_TRUE(form.Press("Sconto"));
	EXPECT_EQ(pDoc->m_Sconto.GetValue(), 5);
	// A refused OK keeps the dialog open for the next answer.
	FormDriver::AnswerDialog([](FormDriver& dlg) {
		EXPECT_EQ(dlg.Text("Percentuale"), "5.00");
		dlg.Type("Percentuale", "60");
		return IDOK;
	});
	FormDriver::AnswerDialog([](FormDriver& dlg) {
		dlg.Type("Percentuale", "12,5");
		return IDOK;
	});
	ASSERT_TRUE(form.Press("Sconto"));
	EXPECT_EQ(pDoc->m_Sconto.GetValue(), 12.5);
	EXPECT_EQ(m_Ui.LastMessage(), "Sconto troppo alto.");
	FormDriver::AnswerDialog([](FormDriver& dlg) {
		dlg.Type("Percentuale", "1");
		return IDCANCEL;
	});
	ASSERT_TRUE(form.Press("Sconto"));
	EXPECT_EQ(pDoc->m_Sconto.GetValue(), 12.5);
	EXPECT_EQ(AfxGetShownDialogs().size(), 3u);
}


TEST_F(FormTest, OpeningBrowsingOrOnTheOnlyRecord)
{
	struct Case
	{
		const char* name;
		bool browseOnCreate;
		bool onlyOne;
		bool rows;
		const char* shown;  // "" none
		bool canNew, canBrowse;
	};
	const Case cases[] = {
		{"plain", false, false, true, "", true, true},
		{"browse on create", true, false, true, "O1", true, true},
		{"only one record", false, true, true, "O1", false, false},
		{"only one record, none yet", false, true, false, "", true, false},
	};
	for (const Case& c : cases)
	{
		SCOPED_TRACE(c.name);
		Sql("DELETE FROM T_Ordini");
		if (c.rows)
			Sql("INSERT INTO T_Ordini VALUES ('O1', 'C1', 'Primo', 0, 0, 0), ('O2', 'C1', 'Secondo', 0, 0, 0)");
		TOrdiniDoc::s_bBrowseOnCreate = c.browseOnCreate;
		TOrdiniDoc::s_bOnlyOneRecord = c.onlyOne;
		FormDriver form(OpenOrdini());
		EXPECT_EQ(form.Mode(), CBaseDocument::BROWSE);
		EXPECT_EQ(form.Text("Numero"), c.shown);
		EXPECT_EQ(form.Next(), c.canBrowse && c.rows);
		EXPECT_EQ(form.Find(), c.canBrowse);
		form.Escape();
		EXPECT_EQ(form.New(), c.canNew);
		form.Escape();
		ASSERT_TRUE(form.Close());
	}
}


TEST_F(FormTest, RecordEditedElsewhereIsRefused)
{
	Sql("INSERT INTO T_Ordini VALUES ('O1', 'C1', 'Primo', 0, 0, 0)");
	FormDriver first(OpenOrdini()), second(OpenOrdini());
	ASSERT_TRUE(first.First());
	ASSERT_TRUE(second.First());
	ASSERT_TRUE(first.Edit());
	EXPECT_FALSE(second.Edit());
	EXPECT_EQ(m_Ui.LastMessage(), "Il documento è in uso da un altro utente.");
	EXPECT_FALSE(second.Delete());
	EXPECT_EQ(second.Mode(), CBaseDocument::BROWSE);
	ASSERT_TRUE(first.Escape());  // leaving the edit lets the record go
	ASSERT_TRUE(second.Edit());
}

TEST_F(FormTest, FailedSaveKeepsTheEditedRecordLocked)
{
	Sql("INSERT INTO T_Ordini VALUES ('O1', 'C1', 'Primo', 0, 0, 0)");
	FormDriver first(OpenOrdini()), second(OpenOrdini());
	auto* pDoc = static_cast<TOrdiniDoc*>(first.GetDocument());
	ASSERT_TRUE(first.First());
	ASSERT_TRUE(second.First());
	struct Case
	{
		const char* name;
		bool refuse;
		bool duplicates;  // unchecked: the database refuses the second row
	};
	const Case cases[] = {
		{"refused by OnOkTransaction", true, false},
		{"SqlException while writing", false, true},
	};
	for (const Case& c : cases)
	{
		SCOPED_TRACE(c.name);
		ASSERT_TRUE(first.Edit());
		ASSERT_TRUE(first.Type("Descrizione ordine", "Mia"));
		pDoc->m_bRefuseSave = c.refuse;
		pDoc->m_pRighe->m_bCheckDuplicates = !c.duplicates;
		if (c.duplicates)
			for (int i = 0; i < 2; ++i)
			{
				ASSERT_TRUE(first.AddRow("Righe"));
				ASSERT_TRUE(first.TypeCell("Righe", i, "Articolo", "A"));
			}
		EXPECT_FALSE(first.Save());
		EXPECT_EQ(first.Mode(), CBaseDocument::EDIT);
		// Still being edited: nobody else may change it meanwhile.
		m_Ui.Clear();
		EXPECT_FALSE(second.Edit());
		EXPECT_EQ(m_Ui.LastMessage(), "Il documento è in uso da un altro utente.");
		EXPECT_FALSE(second.Delete());
		pDoc->m_bRefuseSave = false;
		pDoc->m_pRighe->m_bCheckDuplicates = true;
		ASSERT_TRUE(first.Escape());
	}
	EXPECT_EQ(Value("SELECT Descrizione FROM T_Ordini"), "Primo");
	ASSERT_TRUE(second.Edit());
}

TEST_F(FormTest, DeleteTakesTheRowsStoredNowWithIt)
{
	struct Case
	{
		const char* name;
		const char* rowTyped;  // the other user's change: a new row, or the first row's article
		bool newRow;
	};
	const Case cases[] = {
		{"a row added elsewhere", "B", true},
		{"a row's key changed elsewhere", "C", false},
	};
	for (const Case& c : cases)
	{
		SCOPED_TRACE(c.name);
		Sql("DELETE FROM T_Ordini");
		Sql("DELETE FROM T_OrdiniRighe");
		Sql("INSERT INTO T_Ordini VALUES ('O1', 'C1', 'Primo', 0, 0, 0)");
		Sql("INSERT INTO T_OrdiniRighe VALUES ('O1', 'A', 1, 1)");
		FormDriver first(OpenOrdini()), second(OpenOrdini());
		ASSERT_TRUE(first.First());
		ASSERT_TRUE(second.First());
		ASSERT_TRUE(second.Edit());
		int row = 0;
		if (c.newRow)
		{
			ASSERT_TRUE(second.AddRow("Righe"));
			row = second.RowCount("Righe") - 1;
		}
		ASSERT_TRUE(second.TypeCell("Righe", row, "Articolo", c.rowTyped));
		ASSERT_TRUE(second.Save()) << second.GetLastError();
		ASSERT_TRUE(first.Delete());
		EXPECT_EQ(Count("T_Ordini"), 0);
		EXPECT_EQ(Count("T_OrdiniRighe"), 0);
		ASSERT_TRUE(first.Close());
		ASSERT_TRUE(second.Close());
	}
}

}  // namespace
TEST_F(FormTest, SavedRowIsFoundByIdentityAfterInsertsDeletesAndKeyEdits)
{
	FormDriver form(OpenOrdini());
	auto* pDoc = static_cast<TOrdiniDoc*>(form.GetDocument());
	EnterOrder(form, "O9", {{"A", "1", "1"}, {"B", "2", "2"}, {"C", "3", "3"}});
	ASSERT_TRUE(form.Save());
	ASSERT_TRUE(form.Edit());
	DBTRighe* pRighe = pDoc->m_pRighe;
	ASSERT_TRUE(form.InsertRow("Righe", 0));   // new row first: read order no longer matches
	ASSERT_TRUE(form.DeleteRow("Righe", 2));   // B goes
	ASSERT_TRUE(form.TypeCell("Righe", 2, "Articolo", "Z"));  // C's key edited
	EXPECT_EQ(pRighe->GetSavedRow(0), nullptr);
	ASSERT_NE(pRighe->GetSavedRow(1), nullptr);
	EXPECT_EQ(static_cast<TOrdiniRighe*>(pRighe->GetSavedRow(1))->f_Articolo.GetString(), CString("A"));
	ASSERT_NE(pRighe->GetSavedRow(2), nullptr);
	EXPECT_EQ(static_cast<TOrdiniRighe*>(pRighe->GetSavedRow(2))->f_Articolo.GetString(), CString("C"));
	EXPECT_EQ(pRighe->GetSavedRow(3), nullptr);
}

}  // namespace formtest
