// The formula controls on forms, driven as a user would: a formula field and a grid of formula
// columns on a formula-usage document, the symbol list of the formula editor, the combos.
#include <memory>
#include <string>
#include <vector>

#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagMacro.h"
#include "kvznet/kvzmod/kvzdocuments/formule/FormulaCtrl.h"
#include "kvznet/kvzmod/kvzdocuments/formule/Kvz_CFormulaDoc.h"
#include "kvznet/kvzmod/kvzdocuments/formule/Kvz_CUtilizzaFormuleDoc.h"
#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_FiltriCommesseDoc.h"
#include "kvznet/kvzmod/kvzdocuments/tests/MngFormulaFixture.h"
#include "platform/plvgenlib/CBaseApp.h"
#include "platform/plvgenlib/CommandManager.h"
#include "platform/plvges/FormDriver.h"

namespace formuletest {

enum : UINT
{
	IDC_FORMULA = 2100,
	IDC_RIGHE,
	IDC_RIGHE_CODICE,
	IDC_RIGHE_FORMULA,
	IDC_RIGHE_FORMULA1,
};

class TRigaFormule : public SqlRecord
{
	DECLARE_DYNCREATE(TRigaFormule, SqlRecord)
public:
	DataStr f_Codice;
	DataStr f_Formula;
	DataStr f_Formula1;
	TRigaFormule() : SqlRecord("T_RigheFormule")
	{
		RecordBinder b(*this);
		b.Key("Codice", f_Codice).Col("Formula", f_Formula).Col("Formula1", f_Formula1).End();
	}
};

// A document with a formula of its own and rows of two formulas each, as the registers have.
class TFormuleDoc : public Kvz_CUtilizzaFormuleDoc
{
	DECLARE_DYNCREATE(TFormuleDoc, Kvz_CUtilizzaFormuleDoc)
	DECLARE_MESSAGE_MAP()
public:
	DataStr m_Formula;
	std::unique_ptr<DBTSlaveBuffered> m_pRighe;

	TRigaFormule* RigaCorrente() const { return static_cast<TRigaFormule*>(m_pRighe->GetCurrentRow()); }

protected:
	BOOL OnAttachData() override
	{
		m_pRighe = std::make_unique<DBTSlaveBuffered>(RUNTIME_CLASS(TRigaFormule), this, "Righe");
		for (const char* code : {"R1", "R2"})
			static_cast<TRigaFormule*>(m_pRighe->AddRecord())->f_Codice = code;
		return Kvz_CUtilizzaFormuleDoc::OnAttachData();
	}
	void Contesto(const CString& strRiga)
	{
		SetContext(DataStr("Modello di riclassificazione"), DataInt(kAnno), DataStr(kModello),
				   DataEnum(E_KVZ_TIPOSIMBOLO, 3), DataStr(strRiga), DataStr(), DataEnum(E_KVZ_TIPORIGA, 0));
	}
	void OnTestataChanged()
	{
		Contesto("TESTA");
		OnFormulaChanged();
	}
	void OnRigaChanged()
	{
		if (TRigaFormule* pRiga = RigaCorrente())
		{
			Contesto(pRiga->f_Codice.GetString());
			OnFormulaChanged();
		}
	}
};

class TRigheFormule : public CBodyEdit
{
	DECLARE_DYNCREATE(TRigheFormule, CBodyEdit)
public:
	void Customize() override
	{
		auto* pRec = static_cast<TRigaFormule*>(GetDBT()->GetRecord());
		AddColumn(IDC_RIGHE_CODICE, "Codice", "Codice", RUNTIME_CLASS(CStrStatic), pRec->f_Codice, 6);
		AddColumn(IDC_RIGHE_FORMULA, "Formula", "Formula", RUNTIME_CLASS(Kvz_CFormulaEdit), pRec->f_Formula, 30);
		ColumnInfo* pCol =
			AddColumn(IDC_RIGHE_FORMULA1, "Formula1", "Formula 1", RUNTIME_CLASS(Kvz_CFormulaEdit), pRec->f_Formula1, 30);
		static_cast<Kvz_CFormulaEdit*>(pCol->GetParsedCtrl())->SetPos(1);
	}
};

class TFormuleView : public CMasterFormView
{
	DECLARE_DYNCREATE(TFormuleView, CMasterFormView)
public:
	TFormuleView() : CMasterFormView("TFormuleView") {}
	void BuildDataControlLinks() override
	{
		auto* pDoc = static_cast<TFormuleDoc*>(GetDocument());
		AddLink(IDC_FORMULA, "Formula", RUNTIME_CLASS(Kvz_CFormulaEdit), &pDoc->m_Formula);
		AddLink(IDC_RIGHE, "Righe", RUNTIME_CLASS(TRigheFormule), pDoc->m_pRighe.get());
	}
};

BEGIN_MESSAGE_MAP(TFormuleDoc, Kvz_CUtilizzaFormuleDoc)
	ON_EN_VALUE_CHANGED(IDC_FORMULA, OnTestataChanged)
	ON_EN_VALUE_CHANGED(IDC_RIGHE_FORMULA, OnRigaChanged)
	ON_EN_VALUE_CHANGED(IDC_RIGHE_FORMULA1, OnRigaChanged)
END_MESSAGE_MAP()

// A form that is no formula-usage document, with a formula edit on it.
class TAltroDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(TAltroDoc, CAbstractFormDoc)
public:
	DataStr m_Formula;
};

class TAltroView : public CMasterFormView
{
	DECLARE_DYNCREATE(TAltroView, CMasterFormView)
public:
	TAltroView() : CMasterFormView("TAltroView") {}
	void BuildDataControlLinks() override
	{
		AddLink(IDC_FORMULA, "Formula", RUNTIME_CLASS(Kvz_CFormulaEdit), &static_cast<TAltroDoc*>(GetDocument())->m_Formula);
	}
};

class FormuleSulForm : public Calcolo
{
protected:
	void SetUp() override
	{
		Calcolo::SetUp();
		if (IsSkipped() || HasFatalFailure())
			return;
		SimboloRiclass("R", "C1", "C1");
		SimboloExtra("E", "X1", "1");
		CPLVNamespace ns(CPLVNamespace::LIBRARY, "KvzNet.KvzMod.KvzDocuments");
		ns.SetObjectName(CPLVNamespace::DOCUMENT, "BDFormula", TRUE, FALSE);
		ASSERT_NE(AfxGetBaseApp()->RegisterTemplate(1, RUNTIME_CLASS(Kvz_CFormulaDoc), RUNTIME_CLASS(CBatchFrame),
													 RUNTIME_CLASS(Kvz_CFormulaView), ns, nullptr, "KvzDocuments", 0,
													 "Default"),
				  nullptr);
		m_Manager.Install();
	}
	void TearDown() override
	{
		m_pForm.reset();
		m_Manager.CloseAllDocuments();
		AfxGetBaseApp()->RemoveAllTemplates();
		Calcolo::TearDown();
	}

	TFormuleDoc* Apri()
	{
		CBaseDocument* pDoc = FormDriver::Open(m_Docs, RUNTIME_CLASS(TFormuleDoc), RUNTIME_CLASS(CBatchFrame),
											   RUNTIME_CLASS(TFormuleView));
		m_pForm = std::make_unique<FormDriver>(pDoc);
		return dynamic_cast<TFormuleDoc*>(pDoc);
	}
	// The formula editors open, with the class of the document each was opened from.
	std::vector<std::string> Editori() const
	{
		std::vector<std::string> v;
		for (CBaseDocument* p : m_Manager.GetOpenDocuments())
			if (p->IsKindOf(RUNTIME_CLASS(Kvz_CFormulaDoc)))
				v.push_back(p->GetCallerDocument() ? p->GetCallerDocument()->GetRuntimeClass()->m_lpszClassName : "");
		return v;
	}
	static long Contati(const TFormuleDoc& doc, const char* riga, int posiz, WORD tipo, const char* codice)
	{
		const Kvz_ArrayDettaglioContatori* pArr = doc.GetDettaglioContatori(riga);
		const Kvz_ArrayDettaglioContatoriElem* p = pArr ? pArr->Cerca(DataEnum(E_KVZ_TIPOSIMBOLO, tipo), DataStr(codice)) : nullptr;
		return p ? p->m_nContatori[posiz] : 0;
	}

	CPlvCommandManager m_Manager;
	CDocumentSet m_Docs;
	std::unique_ptr<FormDriver> m_pForm;
};

TEST_F(FormuleSulForm, AFormulaTypedIsCountedAtTheFieldsPosition)
{
	TFormuleDoc* pDoc = Apri();
	ASSERT_TRUE(pDoc);
	FormDriver& form = *m_pForm;

	ASSERT_TRUE(form.Type("Formula", "_R")) << form.GetLastError().str();
	ASSERT_TRUE(form.TypeCell("Righe", 1, "Formula1", "_R + _E")) << form.GetLastError().str();
	ASSERT_TRUE(form.TypeCell("Righe", 0, "Formula", "_R * 2,5")) << form.GetLastError().str();
	EXPECT_EQ(Contati(*pDoc, "TESTA", 0, 3, "C1"), 1);
	EXPECT_EQ(Contati(*pDoc, "R2", 1, 3, "C1"), 1);
	EXPECT_EQ(Contati(*pDoc, "R2", 1, 1, "X1"), 1);
	EXPECT_EQ(Contati(*pDoc, "R2", 0, 3, "C1"), 0);
	EXPECT_EQ(Contati(*pDoc, "R1", 0, 3, "C1"), 1);
	EXPECT_EQ(pDoc->GetContatoreGenerale(DataEnum(E_KVZ_TIPOSIMBOLO, 3), DataStr("C1")).GetValue(), 3);
	EXPECT_TRUE(pDoc->m_bContatoriModificati);

	// A wrong formula is said when the user's action ends; its counts stay.
	pDoc->m_bContatoriModificati = FALSE;
	m_Ui.Clear();
	form.TypeCell("Righe", 1, "Formula1", "_R + (");
	EXPECT_NE(m_Ui.LastMessage().Find("Errore nella formula."), -1) << m_Ui.LastMessage().str();
	EXPECT_EQ(Contati(*pDoc, "R2", 1, 3, "C1"), 1);
	EXPECT_FALSE(pDoc->m_bContatoriModificati);
}

TEST_F(FormuleSulForm, ADoubleClickOnAFormulaOpensTheEditorOnIt)
{
	TFormuleDoc* pDoc = Apri();
	ASSERT_TRUE(pDoc);
	FormDriver& form = *m_pForm;
	ASSERT_TRUE(form.Type("Formula", "_R"));
	ASSERT_TRUE(form.TypeCell("Righe", 1, "Formula1", "_E"));

	ASSERT_TRUE(form.DoubleClickControl("Formula")) << form.GetLastError().str();
	EXPECT_EQ(Editori(), std::vector<std::string>{"TFormuleDoc"});
	ASSERT_TRUE(pDoc->GetCtrlFormula());
	EXPECT_EQ(pDoc->GetCtrlFormula()->GetPos(), 0);
	ASSERT_TRUE(pDoc->GetPStrFormula());
	EXPECT_EQ(pDoc->GetPStrFormula()->GetString(), CString("_R"));

	// The form waits for its editor: closed, a cell opens the next one on the cell's row and column.
	EXPECT_FALSE(form.DoubleClick("Righe", 1, "Formula1"));
	for (CBaseDocument* p : m_Manager.GetOpenDocuments())
	{
		if (p->IsKindOf(RUNTIME_CLASS(Kvz_CFormulaDoc)))
		{
			ASSERT_TRUE(FormDriver(p).Press("Annulla"));
		}
	}
	ASSERT_TRUE(form.DoubleClick("Righe", 1, "Formula1")) << form.GetLastError().str();
	EXPECT_EQ(Editori().size(), 1u);
	EXPECT_EQ(pDoc->GetCtrlFormula()->GetPos(), 1);
	EXPECT_EQ(pDoc->GetPosizFormula(), 1);
	EXPECT_EQ(pDoc->GetPStrFormula()->GetString(), CString("_E"));
}

TEST_F(FormuleSulForm, OnAnotherDocumentTheFormulaEditOpensNothing)
{
	FormDriver form(FormDriver::Open(m_Docs, RUNTIME_CLASS(TAltroDoc), RUNTIME_CLASS(CBatchFrame),
									 RUNTIME_CLASS(TAltroView)));
	ASSERT_TRUE(form.Type("Formula", "_R"));
	form.DoubleClickControl("Formula");
	EXPECT_TRUE(Editori().empty());
	const auto reports = AfxGetApplicationContext()->GetAssertionReports();
	ASSERT_EQ(reports.size(), 1u);
	EXPECT_EQ(reports[0].method, "Kvz_CFormulaEdit::OnLButtonDblClk");
}

// ---- the formula editor, opened on the form's formulas --------------------------------------

class Editore : public FormuleSulForm
{
protected:
	Kvz_CFormulaDoc* EditoreAperto() const
	{
		for (CBaseDocument* p : m_Manager.GetOpenDocuments())
			if (auto* pEd = DynamicDownCast<Kvz_CFormulaDoc>(p))
				return pEd;
		return nullptr;
	}
	// The editor opened by a double-click on row 2's second formula ("_E" typed there).
	Kvz_CFormulaDoc* ApriSullaCella(TFormuleDoc*& pDoc)
	{
		pDoc = Apri();
		if (!pDoc || !m_pForm->TypeCell("Righe", 1, "Formula1", "_E") || !m_pForm->DoubleClick("Righe", 1, "Formula1"))
			return nullptr;
		Kvz_CFormulaDoc* pEd = EditoreAperto();
		if (pEd)
			m_pEditore = std::make_unique<FormDriver>(pEd);
		return pEd;
	}
	void TearDown() override
	{
		m_pEditore.reset();
		FormuleSulForm::TearDown();
	}
	std::unique_ptr<FormDriver> m_pEditore;
};

TEST_F(Editore, AFormulaBuiltWithTheListAndTheKeypadIsWrittenBackAndCounted)
{
	TFormuleDoc* pDoc = nullptr;
	ASSERT_TRUE(ApriSullaCella(pDoc));
	FormDriver& ed = *m_pEditore;
	EXPECT_EQ(ed.Text("Formula :"), CString("_E"));
	EXPECT_EQ(ed.Text("Riga"), CString("R2"));

	// The list starts on the base-plan kind: neither symbol is one.
	EXPECT_EQ(EditoreAperto()->m_pListaSimboli->GetCount(), 0);
	ASSERT_TRUE(ed.Press("Tutti"));
	ASSERT_EQ(EditoreAperto()->m_pListaSimboli->GetCount(), 2);
	ASSERT_TRUE(ed.Press("Riclassificati"));
	ASSERT_EQ(EditoreAperto()->m_pListaSimboli->GetCount(), 1);
	for (const char* tasto : {"+", "("})
		ASSERT_TRUE(ed.Press(tasto)) << tasto;
	ASSERT_TRUE(ed.DoubleClickLine("Simboli definiti", 0));
	for (const char* tasto : {"*", "2", ")"})
		ASSERT_TRUE(ed.Press(tasto)) << tasto;
	EXPECT_EQ(ed.Text("Formula :"), CString("_E + (_R  * 2)"));
	ASSERT_TRUE(ed.Press("OK")) << ed.GetLastError().str();

	EXPECT_FALSE(EditoreAperto());
	EXPECT_EQ(m_pForm->Cell("Righe", 1, "Formula1"), CString("_E + (_R  * 2)"));
	EXPECT_EQ(Contati(*pDoc, "R2", 1, 3, "C1"), 1);
	EXPECT_EQ(Contati(*pDoc, "R2", 1, 1, "X1"), 1);
	EXPECT_TRUE(pDoc->m_bContatoriModificati);
	EXPECT_TRUE(pDoc->IsModified());
	EXPECT_FALSE(pDoc->GetCalledDoc());
	EXPECT_TRUE(pDoc->GetMasterFrame()->IsWindowEnabled());
}

// Each symbol listed with the description of its definition (its name's case aside), whatever
// its kind; a symbol whose definition is missing is listed without one.
TEST_F(Editore, TheListShowsEachSymbolWithItsDescription)
{
	SimboloExtra("D", "X2", "1");
	Anagrafica("SENZA", 3);
	m_pConn->ExecuteSQL("UPDATE Kvz_SimboliCodExtracont SET NomeSimbolo = 'd', Annotazioni = 'Addetti del centro' "
						"WHERE NomeSimbolo = 'D'");
	m_pConn->ExecuteSQL("UPDATE Kvz_SimboliCodRiclassif SET Annotazioni = 'Ricavi' WHERE NomeSimbolo = 'R'");
	TFormuleDoc* pDoc = nullptr;
	ASSERT_TRUE(ApriSullaCella(pDoc));
	ASSERT_TRUE(m_pEditore->Press("Tutti"));
	const Kvz_CListBoxFormula& lista = *EditoreAperto()->m_pListaSimboli;
	std::vector<std::string> righe;
	for (int i = 0; i < lista.GetCount(); ++i)
		righe.push_back(lista.GetText(i).str());
	EXPECT_EQ(righe, (std::vector<std::string>{"D  Addetti del centro", "E  ", "R  Ricavi", "SENZA  *******"}));
}

TEST_F(Editore, AWrongFormulaKeepsTheEditorOpenAndAnnullaChangesNothing)
{
	TFormuleDoc* pDoc = nullptr;
	ASSERT_TRUE(ApriSullaCella(pDoc));
	FormDriver& ed = *m_pEditore;
	EXPECT_FALSE(pDoc->GetMasterFrame()->IsWindowEnabled());
	ASSERT_TRUE(ed.Type("Formula :", "_E + (2"));
	m_Ui.Clear();
	ed.Press("OK");
	ASSERT_TRUE(EditoreAperto());
	EXPECT_NE(m_Ui.LastMessage().Find("Errore nella formula."), -1) << m_Ui.LastMessage().str();
	// The engine's reason names where the formula went wrong.
	CString strTutti;
	for (const auto& m : m_Ui.Messages())
		strTutti += m.text + "\n";
	EXPECT_NE(strTutti.Find("posizione"), -1) << strTutti.str();

	pDoc->m_bContatoriModificati = FALSE;
	ASSERT_TRUE(ed.Press("Annulla"));
	EXPECT_FALSE(EditoreAperto());
	EXPECT_EQ(m_pForm->Cell("Righe", 1, "Formula1"), CString("_E"));
	EXPECT_FALSE(pDoc->m_bContatoriModificati);
	EXPECT_TRUE(pDoc->GetMasterFrame()->IsWindowEnabled());
}

TEST_F(Editore, ANewSymbolLeavesTheFieldsPositionAlone)
{
	TFormuleDoc* pDoc = nullptr;
	ASSERT_TRUE(ApriSullaCella(pDoc));
	FormDriver& ed = *m_pEditore;
	// Twelve symbols: as a position it would count past the eleven formulas of a row.
	CString strFormula = "_R";
	for (int i = 1; i < 12; ++i)
		strFormula += " + _R";
	ASSERT_TRUE(ed.Type("Formula :", strFormula));
	ASSERT_TRUE(ed.Press("Definisci nuovo simbolo"));
	EXPECT_EQ(EditoreAperto()->GetNumSimboli(), 12);
	EXPECT_EQ(pDoc->GetCtrlFormula()->GetPos(), 1);
	ASSERT_TRUE(ed.Press("OK"));
	EXPECT_EQ(Contati(*pDoc, "R2", 1, 3, "C1"), 12);

	// Reopened from the same cell: still its formula's position.
	m_pEditore.reset();
	ASSERT_TRUE(m_pForm->DoubleClick("Righe", 1, "Formula1"));
	ASSERT_TRUE(EditoreAperto());
	EXPECT_EQ(pDoc->GetCtrlFormula()->GetPos(), 1);
	EXPECT_EQ(pDoc->GetPosizFormula(), 1);
}

// With every kind listed, a new symbol's kind is chosen in the kind dialog; cancelled, nothing opens.
TEST_F(Editore, ANewSymbolOfAnyKindAsksItsKind)
{
	TFormuleDoc* pDoc = nullptr;
	ASSERT_TRUE(ApriSullaCella(pDoc));
	FormDriver& ed = *m_pEditore;
	ASSERT_TRUE(ed.Press("Tutti"));
	for (bool ok : {false, true})
	{
		AfxClearShownDialogs();
		FormDriver::AnswerDialog([&](FormDriver& dlg) {
			EXPECT_TRUE(dlg.Press("Formula da un codice extracontabile")) << dlg.GetLastError();
			return ok ? IDOK : IDCANCEL;
		});
		ASSERT_TRUE(ed.Press("Definisci nuovo simbolo"));
		EXPECT_EQ(AfxGetShownDialogs(), std::vector<CString>{"Scelta tipo simbolo da definire"});
		EXPECT_EQ(EditoreAperto()->GetTipoSimboloSelez().GetItemValue(), ok ? 1 : 0);
	}
	// A kind of the list needs no question.
	ASSERT_TRUE(ed.Press("Riclassificati"));
	AfxClearShownDialogs();
	ASSERT_TRUE(ed.Press("Definisci nuovo simbolo"));
	EXPECT_TRUE(AfxGetShownDialogs().empty());
	EXPECT_EQ(EditoreAperto()->GetTipoSimboloSelez().GetItemValue(), 3);
}

TEST_F(Editore, AMacroNameTakesOnlyLettersAndDigits)
{
	const struct
	{
		const char* nome;
		const char* carattere;  // null: accepted
	} casi[] = {{"A_B", "_"}, {"\xC3\xA8", "\xC3\x88"}, {" ", " "}, {"M1 X", " "}, {"123", nullptr}, {"MARGINE", nullptr}};
	for (const auto& c : casi)
	{
		TFormuleDoc* pDoc = nullptr;
		ASSERT_TRUE(ApriSullaCella(pDoc));
		FormDriver& ed = *m_pEditore;
		ASSERT_TRUE(ed.Press("Salva come macro"));
		ASSERT_TRUE(ed.Type("Nome macro:", c.nome));
		m_Ui.Clear();
		ed.Press("OK");
		if (c.carattere)
		{
			EXPECT_NE(m_Ui.LastMessage().Find(CString("Carattere '") + c.carattere + "' non ammesso"), -1)
				<< c.nome << ": " << m_Ui.LastMessage().str();
			ASSERT_TRUE(EditoreAperto()) << c.nome;
			ASSERT_TRUE(ed.Press("Annulla"));
		}
		else
		{
			EXPECT_FALSE(EditoreAperto()) << c.nome << ": " << m_Ui.LastMessage().str();
			Kvz_TRAnagMacro r;
			EXPECT_EQ(r.FindRecord(DataInt(kAnno), DataStr(c.nome), DataStr(kModello)), TableReader::FOUND) << c.nome;
		}
		m_pEditore.reset();
		m_pForm.reset();
		m_Manager.CloseAllDocuments();
	}
}

TEST_F(Editore, ASymbolIsDeletedOnlyWhenTheFormulaDoesNotNameIt)
{
	TFormuleDoc* pDoc = nullptr;
	ASSERT_TRUE(ApriSullaCella(pDoc));
	FormDriver& ed = *m_pEditore;
	ASSERT_TRUE(ed.Press("Extracontabili"));
	ASSERT_TRUE(ed.SelectLine("Simboli definiti", 0));
	m_Ui.Clear();
	ASSERT_TRUE(ed.Press("Elimina simbolo"));
	EXPECT_EQ(m_Ui.LastMessage(), CString("Per cancellare il simbolo rimuoverlo dalla formula."));

	ASSERT_TRUE(ed.Type("Formula :", "2"));
	m_Ui.PushAnswer(IDYES);
	ASSERT_TRUE(ed.Press("Elimina simbolo"));
	EXPECT_EQ(EditoreAperto()->m_pListaSimboli->GetCount(), 0);
	Kvz_TRAnagSimboli r;
	EXPECT_EQ(r.FindRecord(DataInt(kAnno), DataStr("E"), DataStr(kModello)), TableReader::NOT_FOUND);

	// Deleted: even "Annulla" checks the formula and writes it back.
	ASSERT_TRUE(ed.Press("Annulla"));
	EXPECT_FALSE(EditoreAperto());
	EXPECT_EQ(m_pForm->Cell("Righe", 1, "Formula1"), CString("2"));
}

// A document holding the ranges, as the base-plan symbol document does.
class TConFiltroDoc : public CAbstractFormDoc, public Kvz_ConFiltroCommesse
{
	DECLARE_DYNCREATE(TConFiltroDoc, CAbstractFormDoc)
public:
	Kvz_FiltroCommesse& GetFiltroCommesse() override { return m_Filtro; }
	Kvz_FiltroCommesse m_Filtro;
};

class TConFiltroView : public CMasterFormView
{
	DECLARE_DYNCREATE(TConFiltroView, CMasterFormView)
public:
	TConFiltroView() : CMasterFormView("TConFiltroView") {}
	void BuildDataControlLinks() override {}
};

TEST_F(FormuleSulForm, TheFilterCopiesTheRangesBackOnlyOnOK)
{
	CBaseDocument* pCaller = FormDriver::Open(m_Docs, RUNTIME_CLASS(TConFiltroDoc), RUNTIME_CLASS(CBatchFrame),
											  RUNTIME_CLASS(TConFiltroView));
	auto* pDoc = dynamic_cast<TConFiltroDoc*>(pCaller);
	ASSERT_TRUE(pDoc);
	pDoc->m_Filtro.m_bTuttiCentriCosto = FALSE;
	pDoc->m_Filtro.m_DalCentroCosto = "CC01";

	for (bool ok : {false, true})
	{
		FormDriver f(FormDriver::Open(m_Docs, RUNTIME_CLASS(Kvz_FiltriCommesseDoc), RUNTIME_CLASS(CBatchFrame),
									  RUNTIME_CLASS(Kvz_FiltriCommesseView), CPLVNamespace(), pDoc));
		ASSERT_TRUE(f.IsOpen());
		EXPECT_FALSE(pDoc->GetMasterFrame()->IsWindowEnabled());
		EXPECT_EQ(f.Text("Dal centro di costo"), CString("CC01"));
		EXPECT_FALSE(f.IsEditable("Dalla commessa"));
		ASSERT_TRUE(f.Press("Tutte"));
		ASSERT_TRUE(f.Type("Dalla commessa", "J1"));
		ASSERT_TRUE(f.Type("Alla commessa", "J9"));
		ASSERT_TRUE(ok ? f.Press("OK") : f.Close());
		EXPECT_FALSE(f.IsOpen());
		EXPECT_TRUE(pDoc->GetMasterFrame()->IsWindowEnabled());
		EXPECT_EQ(static_cast<bool>(pDoc->m_Filtro.m_bTutteCommesse), !ok);
		EXPECT_EQ(pDoc->m_Filtro.m_DallaCommessa.GetString(), CString(ok ? "J1" : ""));
		EXPECT_EQ(pDoc->m_Filtro.m_AllaCommessa.GetString(), CString(ok ? "J9" : ""));
		EXPECT_EQ(pDoc->m_Filtro.m_DalCentroCosto.GetString(), CString("CC01"));
	}
}

TEST(NomiSimboli, DigitsCompareByValueWhateverTheirLength)
{
	const struct
	{
		const char* a;
		const char* b;
	} inOrdine[] = {{"S2", "S10"}, {"S10", "T1"}, {"S", "S1"}, {"S99999999999999999999", "S100000000000000000000"},
					{"S007", "S10"}, {"A9", "a1"}};
	for (const auto& c : inOrdine)
	{
		Kvz_SimboliToSortElem a(DataEnum(E_KVZ_TIPOSIMBOLO, 0), DataStr(c.a)), b(DataEnum(E_KVZ_TIPOSIMBOLO, 0), DataStr(c.b));
		EXPECT_LT(ComparaNomeSimbolo(a, b), 0) << c.a << " " << c.b;
		EXPECT_GT(ComparaNomeSimbolo(b, a), 0) << c.a << " " << c.b;
	}
	Kvz_SimboliToSortElem a(DataEnum(E_KVZ_TIPOSIMBOLO, 0), DataStr("S01")), b(DataEnum(E_KVZ_TIPOSIMBOLO, 3), DataStr("S1"));
	EXPECT_EQ(ComparaNomeSimbolo(a, b), 0);
}

// The formula editor's box and symbol list, on a form of their own.
class ListaSimboli : public ::testing::Test
{
protected:
	void SetUp() override
	{
		AfxGetApplicationContext()->SetEchoAssertions(FALSE);
		AfxGetApplicationContext()->ClearAssertionReports();
		m_pBox = static_cast<Kvz_CFormulaContainer*>(
			m_Form.AddLink(1, "Testo", RUNTIME_CLASS(Kvz_CFormulaContainer), &m_Testo));
		m_pLista = static_cast<Kvz_CListBoxFormula*>(
			m_Form.AddLink(2, "Simboli", RUNTIME_CLASS(Kvz_CListBoxFormula), nullptr));
		ASSERT_TRUE(m_pBox && m_pLista);
		// Not in name order: the lines follow the symbols.
		m_pLista->AddSymbol(DataEnum(E_KVZ_TIPOSIMBOLO, 3), DataStr("RICAVI"), DataStr("Ricavi netti"));
		m_pLista->AddSymbol(DataEnum(E_KVZ_TIPOSIMBOLO, 0), DataStr("COSTI"), DataStr("Costi"));
		m_pLista->Attach(m_pBox, &m_Formula);
		m_pLista->SetPrefix("_");
	}
	void TearDown() override { AfxGetApplicationContext()->SetEchoAssertions(TRUE); }

	ScriptedInteraction m_Ui;
	InteractionScope m_Scope{&m_Ui};
	CParsedForm m_Form;
	DataStr m_Testo;
	DataStr m_Formula;
	Kvz_CFormulaContainer* m_pBox = nullptr;
	Kvz_CListBoxFormula* m_pLista = nullptr;
	FormDriver m_Driver{m_Form};
};

TEST_F(ListaSimboli, ASymbolGoesToTheEndUntilTheUserSelectsInTheBox)
{
	EXPECT_EQ(m_pLista->GetText(0), CString("RICAVI  Ricavi netti"));
	EXPECT_EQ(m_pLista->GetText(1), CString("COSTI  Costi"));
	EXPECT_FALSE(m_pLista->GetSelectedSymbol());

	// No line chosen: nothing.
	m_pLista->UserDoubleClick();
	EXPECT_EQ(m_Testo.GetString(), CString(""));

	ASSERT_TRUE(m_Driver.DoubleClickLine("Simboli", 1));
	ASSERT_TRUE(m_pLista->GetSelectedSymbol());
	EXPECT_EQ(m_pLista->GetSelectedSymbol()->m_TipoSimbolo.GetItemValue(), 0);
	ASSERT_TRUE(m_Driver.DoubleClickLine("Simboli", 0));
	EXPECT_EQ(m_Testo.GetString(), CString("_COSTI _RICAVI "));
	EXPECT_EQ(m_Formula.GetString(), CString("_COSTI _RICAVI "));

	// Selected in the box: the symbol takes the selection's place, undoably.
	m_pBox->SetSel(0, 7);
	ASSERT_TRUE(m_Driver.ButtonUp("Testo"));
	EXPECT_EQ(m_pBox->GetInizioSel(), 0);
	EXPECT_EQ(m_pBox->GetFineSel(), 7);
	m_pLista->SetPrefix("@");
	ASSERT_TRUE(m_Driver.DoubleClickLine("Simboli", 0));
	EXPECT_EQ(m_Testo.GetString(), CString("RICAVI _RICAVI "));
	EXPECT_EQ(m_Formula.GetString(), CString("RICAVI _RICAVI "));
	ASSERT_TRUE(m_pBox->Undo());
	EXPECT_EQ(m_Testo.GetString(), CString("_COSTI _RICAVI "));

	m_pLista->Empty();
	EXPECT_EQ(m_pLista->GetCount(), 0);
	EXPECT_EQ(m_pLista->GetSimboli().GetSize(), 0);
	EXPECT_TRUE(AfxGetApplicationContext()->GetAssertionReports().empty());
}

TEST_F(ListaSimboli, InsertingASymbolDirectly)
{
	const struct
	{
		const char* simbolo;
		const char* prefisso;
		int noBlank;
		const char* atteso;
	} casi[] = {
		{"A", "_", 0, "_A "},
		{"A", "__", 1, "__A"},
		{"A", "@_", 0, "A "},
		{"A", "", 1, "A"},
		{"", "_", 0, ""},
	};
	for (const auto& c : casi)
	{
		m_Testo = "";
		m_Formula = "";
		Kvz_CListBoxFormula::InsertSymbol(c.simbolo, c.prefisso, m_pBox, &m_Formula, c.noBlank);
		EXPECT_EQ(m_Testo.GetString(), CString(c.atteso)) << c.simbolo << c.prefisso;
		EXPECT_EQ(m_Formula.GetString(), CString(c.atteso)) << c.simbolo << c.prefisso;
	}
	Kvz_CListBoxFormula::InsertSymbol("A", "_", nullptr, &m_Formula, 0);
	EXPECT_EQ(m_Formula.GetString(), CString(""));
}

TEST_F(ListaSimboli, AListWithoutItsBoxInsertsNothing)
{
	auto* pSola = static_cast<Kvz_CListBoxFormula*>(m_Form.AddLink(3, "Sola", RUNTIME_CLASS(Kvz_CListBoxFormula), nullptr));
	pSola->AddSymbol(DataEnum(E_KVZ_TIPOSIMBOLO, 3), DataStr("RICAVI"), DataStr(""));
	ASSERT_TRUE(m_Driver.DoubleClickLine("Sola", 0));
	EXPECT_EQ(m_Testo.GetString(), CString(""));
	const auto reports = AfxGetApplicationContext()->GetAssertionReports();
	ASSERT_EQ(reports.size(), 1u);
	EXPECT_EQ(reports[0].method, "Kvz_CListBoxFormula::OnLButtonDblClk");
}

TEST_F(ListaSimboli, TheCombosOfferOnlyTheirItems)
{
	DataEnum budget(E_KVZ_TIPOBUDGET, 0), aggreg(E_KVZ_AGGREGFUNCTION, 0);
	auto* pBudget = static_cast<CEnumCombo*>(m_Form.AddLink(4, "Budget", RUNTIME_CLASS(Kvz_TipoBudgetInputCombo), &budget));
	auto* pAggreg =
		static_cast<CEnumCombo*>(m_Form.AddLink(5, "Aggreg", RUNTIME_CLASS(Kvz_AggregFunctionFiltratoCombo), &aggreg));
	auto items = [](const CEnumCombo* p) {
		std::vector<int> v;
		for (auto& [value, text] : p->GetItems())
			v.push_back(LOWORD(value));
		return v;
	};
	EXPECT_EQ(items(pBudget), (std::vector<int>{0, 1, 2}));
	EXPECT_EQ(items(pAggreg), (std::vector<int>{0, 1}));
	EXPECT_FALSE(m_Driver.Type("Aggreg", "Massimo"));
	EXPECT_TRUE(m_Driver.Type("Aggreg", "Media"));
	EXPECT_EQ(aggreg.GetItemValue(), 1);

	EXPECT_FALSE(pBudget->IsValidItemListBox(DataStr("3")));
	EXPECT_EQ(AfxGetApplicationContext()->GetAssertionReports().size(), 1u);
}

}  // namespace formuletest
