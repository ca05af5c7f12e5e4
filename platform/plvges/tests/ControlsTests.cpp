// The controls documents build on, driven as a user would.
#include <gtest/gtest.h>

#include "platform/plvgeneric/EnumTexts.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvges/FormDriver.h"
#include "platform/plvges/tests/ControlsTestDoc.h"

using namespace controlstest;

namespace {

class ControlsTest : public ::testing::Test
{
protected:
	ScriptedInteraction m_Script;
	InteractionScope m_Scope{&m_Script};
	CDocumentSet m_Docs;

	TStrumentiDoc* Open(FormDriver*& pForm)
	{
		auto* pDoc = FormDriver::Open(m_Docs, RUNTIME_CLASS(TStrumentiDoc), RUNTIME_CLASS(TStrumentiFrame),
									  RUNTIME_CLASS(TStrumentiView));
		m_pForm = std::make_unique<FormDriver>(pDoc);
		pForm = m_pForm.get();
		return static_cast<TStrumentiDoc*>(pDoc);
	}
	std::unique_ptr<FormDriver> m_pForm;
};

// An enumeration's combo takes its own items, by text or by item number, and refuses any other
// value (of another tag, an item that does not exist, one the combo does not offer) naming the
// items it takes; the value refused stays out of the data.
TEST_F(ControlsTest, AnEnumerationTakesOnlyItsOwnItems)
{
	AfxRegisterEnumTexts(kTagGenere, {"Primo", "Secondo", "Terzo"});
	FormDriver* form;
	TStrumentiDoc* pDoc = Open(form);
	const struct
	{
		const char* control;
		const char* text;
		int item;  // -1: refused
	} cases[] = {
		{"Genere", "secondo", 1},
		{"Genere", "2", 2},
		{"Genere", "32754:0", 0},  // tag and item, written out
		{"Genere", "0x7FF20001", 1},
		{"Genere", "3", -1},
		{"Genere", "10051:3", -1},
		{"Genere", "0x27430001", -1},
		{"Genere", "70000", -1},
		{"Genere", "Quarto", -1},
		{"Genere ristretto", "Secondo", 1},
		{"Genere ristretto", "Terzo", -1},
		{"Genere ristretto", "2", -1},
	};
	for (const auto& c : cases)
	{
		SCOPED_TRACE(std::string(c.control) + " " + c.text);
		DataEnum& data = std::string(c.control) == "Genere" ? pDoc->m_Genere : pDoc->m_GenereRistretto;
		data = DataEnum(kTagGenere, 0);
		EXPECT_EQ(form->Type(c.control, c.text) != FALSE, c.item >= 0);
		EXPECT_EQ(data.GetTagValue(), kTagGenere);
		EXPECT_EQ(int(data.GetItemValue()), c.item >= 0 ? c.item : 0);
		if (c.item < 0)
		{
			EXPECT_EQ(form->GetLastError().str(),
					  std::string(c.control) + ": \"" + c.text + "\" is not one of its items: Primo (0), Secondo (1)" +
						  (std::string(c.control) == "Genere" ? ", Terzo (2)." : "."));
		}
	}
}

TEST_F(ControlsTest, ListBoxSelectionAndDoubleClickReachTheDocument)
{
	FormDriver* form;
	TStrumentiDoc* pDoc = Open(form);
	CListBox* pList = pDoc->Simboli();
	ASSERT_EQ(pList->GetCount(), 3);
	EXPECT_EQ(pList->GetText(0), "COSTI");  // sorted
	EXPECT_EQ(pList->GetCurSel(), CListBox::LB_ERR);
	ASSERT_TRUE(form->SelectLine("Simboli", 1));
	ASSERT_TRUE(form->SelectLine("Simboli", 1));  // the same line: no notification
	ASSERT_TRUE(form->DoubleClickLine("Simboli", 2));
	EXPECT_FALSE(form->SelectLine("Simboli", 3));
	EXPECT_EQ(pDoc->m_Esito.GetString(), CString("scelto MARGINE, scelto RICAVI, doppio clic RICAVI"));
	pList->ResetContent();
	EXPECT_EQ(pList->GetCurSel(), CListBox::LB_ERR);
	EXPECT_EQ(pList->GetCtrlText(), "");
}

TEST_F(ControlsTest, GridCellEditTakesTheDoubleClickWithItsRow)
{
	FormDriver* form;
	TStrumentiDoc* pDoc = Open(form);
	ASSERT_TRUE(form->DoubleClick("Righe", 1, "Formula"));
	EXPECT_EQ(pDoc->m_Esito.GetString(), CString("doppio clic riga 2"));
}

TEST_F(ControlsTest, TabPreparesItsDataWhenItOpens)
{
	FormDriver* form;
	TStrumentiDoc* pDoc = Open(form);
	EXPECT_EQ(pDoc->m_nPreparazioni, 0);
	ASSERT_TRUE(form->ActivateTab("Schede", "Seconda"));
	EXPECT_EQ(pDoc->m_nPreparazioni, 1);
	ASSERT_TRUE(form->ActivateTab("Schede", "Prima"));
	ASSERT_TRUE(form->ActivateTab("Schede", "Seconda"));
	EXPECT_EQ(pDoc->m_nPreparazioni, 2);
}

TEST_F(ControlsTest, CommandsAndButtonsFollowTheirState)
{
	FormDriver* form;
	TStrumentiDoc* pDoc = Open(form);
	EXPECT_FALSE(form->IsCommandEnabled(ID_CALCOLA));
	EXPECT_FALSE(form->Command(CString("Calcola")));
	EXPECT_EQ(form->GetLastError(), "The command is disabled.");
	EXPECT_FALSE(form->Press("Esegui"));
	ASSERT_TRUE(form->Press("Abilita"));
	ASSERT_TRUE(form->Command(CString("calcola")));  // the caption without its '&', any case
	ASSERT_TRUE(form->Press("Esegui"));
	EXPECT_FALSE(form->Command(CString("Nessuno")));
	EXPECT_EQ(pDoc->m_Esito.GetString(), CString("calcolato, eseguito"));
}

TEST_F(ControlsTest, EditSelectionIsReplacedAndUndone)
{
	FormDriver* form;
	TStrumentiDoc* pDoc = Open(form);
	CBodyEdit* pGrid = form->Grid("Righe");
	ASSERT_TRUE(form->TypeCell("Righe", 0, "Formula", "_RICAVI + _COSTI"));
	CParsedCtrl* pEdit = pGrid->GetColumn("Formula")->GetParsedCtrl();
	pEdit->SetSel(10, -1);
	int from = 0, to = 0;
	pEdit->GetSel(from, to);
	EXPECT_EQ(std::pair(from, to), std::pair(10, 16));
	ASSERT_TRUE(pEdit->ReplaceSel("_MARGINÈ", TRUE));
	EXPECT_EQ(form->Cell("Righe", 0, "Formula"), "_RICAVI + _MARGINÈ");
	pEdit->GetSel(from, to);
	EXPECT_EQ(std::pair(from, to), std::pair(18, 18));  // characters, not bytes
	ASSERT_TRUE(pEdit->Undo());
	EXPECT_EQ(form->Cell("Righe", 0, "Formula"), "_RICAVI + _COSTI");
	EXPECT_FALSE(pEdit->CanUndo());
	(void)pDoc;
}

}  // namespace
