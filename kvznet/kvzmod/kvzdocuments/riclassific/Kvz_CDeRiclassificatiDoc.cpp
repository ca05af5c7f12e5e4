#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_CDeRiclassificatiDoc.h"

#include "platform/plvgeneric/Application.h"
#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
const char* const kSource = "Kvz_CDeRiclassificatiDoc";

// The values a result row carries, summed when rows fall in one grid row.
constexpr DataMon Kvz_TRiclassificato::* kValori[] = {
	&Kvz_TRiclassificato::f_Valore,
	&Kvz_TRiclassificato::f_ValoreBudgetA,
	&Kvz_TRiclassificato::f_ValoreBudgetB,
	&Kvz_TRiclassificato::f_ValoreBudgetC,
	&Kvz_TRiclassificato::f_TotaleRiportato,
	&Kvz_TRiclassificato::f_Valore1,
	&Kvz_TRiclassificato::f_Valore2,
	&Kvz_TRiclassificato::f_Valore3,
	&Kvz_TRiclassificato::f_Valore4,
	&Kvz_TRiclassificato::f_Valore5,
	&Kvz_TRiclassificato::f_Valore6,
	&Kvz_TRiclassificato::f_Valore7,
	&Kvz_TRiclassificato::f_Valore8,
	&Kvz_TRiclassificato::f_Valore9,
	&Kvz_TRiclassificato::f_Valore10,
	&Kvz_TRiclassificato::f_TotaleRiportatoBudgetA,
	&Kvz_TRiclassificato::f_TotaleRiportatoBudgetB,
	&Kvz_TRiclassificato::f_TotaleRiportatoBudgetC,
	&Kvz_TRiclassificato::f_TotaleRiportato1,
	&Kvz_TRiclassificato::f_TotaleRiportato2,
	&Kvz_TRiclassificato::f_TotaleRiportato3,
	&Kvz_TRiclassificato::f_TotaleRiportato4,
	&Kvz_TRiclassificato::f_TotaleRiportato5,
	&Kvz_TRiclassificato::f_TotaleRiportato6,
	&Kvz_TRiclassificato::f_TotaleRiportato7,
	&Kvz_TRiclassificato::f_TotaleRiportato8,
	&Kvz_TRiclassificato::f_TotaleRiportato9,
	&Kvz_TRiclassificato::f_TotaleRiportato10,
};

// One row per data kind, code and month: runs of different kinds are never added up.
bool StessoGruppo(const Kvz_TRiclassificato& a, const Kvz_TRiclassificato& b)
{
	return a.f_CodRiclassificato.GetString() == b.f_CodRiclassificato.GetString() &&
		   a.f_Mese.GetValue() == b.f_Mese.GetValue() &&
		   a.f_TipoDatoPianoBase.GetValue() == b.f_TipoDatoPianoBase.GetValue();
}

// The group shows the identity of its last row and the sum of its values.
void Accumula(Kvz_TRiclassificato& aGruppo, const Kvz_TRiclassificato& aRiga)
{
	aGruppo.f_Esercizio = aRiga.f_Esercizio;
	aGruppo.f_Mese = aRiga.f_Mese;
	aGruppo.f_ModelloRiclassific = aRiga.f_ModelloRiclassific;
	aGruppo.f_CodRiclassificato = aRiga.f_CodRiclassificato;
	aGruppo.f_TipoDatoPianoBase = aRiga.f_TipoDatoPianoBase;
	aGruppo.f_Posizione = aRiga.f_Posizione;
	aGruppo.f_Descrizione = aRiga.f_Descrizione;
	aGruppo.f_TipoRiga = aRiga.f_TipoRiga;
	for (auto pValore : kValori)
		aGruppo.*pValore += aRiga.*pValore;
}
}  // namespace

// ---- header ------------------------------------------------------------------------------------

Kvz_DBTRiclassificatiTesta::Kvz_DBTRiclassificatiTesta(CAbstractFormDoc* pDocument)
	: DBTMaster(Kvz_TRiclassificatoTesta::GetThisClass(), pDocument, _T("DBTRiclassificatiTesta"))
{
}

Kvz_TRiclassificatoTesta* Kvz_DBTRiclassificatiTesta::GetRiclassificatoTesta() const
{
	return static_cast<Kvz_TRiclassificatoTesta*>(GetRecord());
}

void Kvz_DBTRiclassificatiTesta::OnEnableControlsForFind()
{
	GetRiclassificatoTesta()->f_Esercizio.SetFindable(TRUE);
	GetRiclassificatoTesta()->f_ModelloRiclassific.SetFindable(TRUE);
}

void Kvz_DBTRiclassificatiTesta::OnDisableControlsForEdit()
{
	GetRiclassificatoTesta()->f_ModelloRiclassific.SetReadOnly(TRUE);
	GetRiclassificatoTesta()->f_Esercizio.SetReadOnly(TRUE);
}

// The processing kind is part of the header's key: without it a year and model run both ways
// would always show the first header.
void Kvz_DBTRiclassificatiTesta::OnDefineQuery()
{
	Kvz_TRiclassificatoTesta* pRec = GetRiclassificatoTesta();
	m_pTable->SelectAll();
	m_pTable->AddParam(_T("p2"), pRec->f_Esercizio);
	m_pTable->AddFilterColumn(pRec->f_Esercizio);
	m_pTable->AddParam(_T("p1"), pRec->f_ModelloRiclassific);
	m_pTable->AddFilterColumn(pRec->f_ModelloRiclassific);
	m_pTable->AddParam(_T("p3"), pRec->f_TipoElaborazione);
	m_pTable->AddFilterColumn(pRec->f_TipoElaborazione);
}

void Kvz_DBTRiclassificatiTesta::OnPrepareQuery()
{
	Kvz_TRiclassificatoTesta* pRec = GetRiclassificatoTesta();
	m_pTable->SetParamValue(_T("p2"), pRec->f_Esercizio);
	m_pTable->SetParamValue(_T("p1"), pRec->f_ModelloRiclassific);
	m_pTable->SetParamValue(_T("p3"), pRec->f_TipoElaborazione);
}

BOOL Kvz_DBTRiclassificatiTesta::OnCheckPrimaryKey()
{
	return !(GetRiclassificatoTesta()->f_ModelloRiclassific.IsEmpty() &&
			 SetError(AfxLoadSourceString(_T("Indicare sia l'esercizio che il codice modello."), kSource)));
}

void Kvz_DBTRiclassificatiTesta::OnPrepareBrowser(SqlTable* pTable)
{
	Kvz_TRiclassificatoTesta* pRec = GetRiclassificatoTesta();
	pTable->SelectAll();
	pTable->AddSortColumn(pRec->f_Esercizio);
	pTable->AddSortColumn(pRec->f_ModelloRiclassific);
	pTable->AddSortColumn(pRec->f_TipoElaborazione);
}

// ---- rows --------------------------------------------------------------------------------------

Kvz_DBTRiclassificatiRighe::Kvz_DBTRiclassificatiRighe(Kvz_CDeRiclassificatiDoc* pDocument)
	: DBTSlaveBuffered(Kvz_TRiclassificato::GetThisClass(), pDocument, _T("DBTRiclassificatiRighe"), TRUE, TRUE)
{
}

Kvz_TRiclassificato* Kvz_DBTRiclassificatiRighe::GetRiga(int nRow) const
{
	return static_cast<Kvz_TRiclassificato*>(GetRow(nRow));
}

BOOL Kvz_DBTRiclassificatiRighe::Read()
{
	static_cast<Kvz_CDeRiclassificatiDoc*>(GetDocument())->RiempiDBT();
	return TRUE;
}

DataObj* Kvz_DBTRiclassificatiRighe::GetDuplicateKeyPos(SqlRecord* pRec)
{
	ASSERT_RELEASE_TRACE(pRec && pRec->IsKindOf((Kvz_TRiclassificato::GetThisClass())),
						 "Kvz_DBTRiclassificatiRighe::GetDuplicateKeyPos", kSource);
	return pRec ? &static_cast<Kvz_TRiclassificato*>(pRec)->f_CodRiclassificato : nullptr;
}

// ---- document ----------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(Kvz_CDeRiclassificatiDoc, CAbstractFormDoc)
	ON_EN_VALUE_CHANGED(IDC_DERICLASSIFICATI_MODELLO, OnModelloChanged)
END_MESSAGE_MAP()

Kvz_TRiclassificatoTesta* Kvz_CDeRiclassificatiDoc::GetRiclassificatoTesta() const
{
	return static_cast<Kvz_DBTRiclassificatiTesta*>(GetMaster())->GetRiclassificatoTesta();
}

BOOL Kvz_CDeRiclassificatiDoc::OnAttachData()
{
	SetFormTitle(AfxLoadSourceString(_T("Modelli di riclassificazione"), kSource));
	auto* pTesta = new Kvz_DBTRiclassificatiTesta(this);
	m_pDBTRighe = new Kvz_DBTRiclassificatiRighe(this);
	m_pDBTRighe->SetPreloadStep(-1);
	pTesta->Attach(m_pDBTRighe);
	return Attach(pTesta);
}

void Kvz_CDeRiclassificatiDoc::AggiornaRighe()
{
	RiempiDBT();
	UpdateDataView();
}

void Kvz_CDeRiclassificatiDoc::RiempiDBT()
{
	// A refill replaces the rows: another model's rows never stay.
	m_pDBTRighe->RemoveAll(TRUE);
	const Kvz_TRiclassificatoTesta* pTesta = GetRiclassificatoTesta();
	if (pTesta->f_ModelloRiclassific.IsEmpty())
	{
		UpdateDataView();
		return;
	}
	Kvz_TRiclassificato aLetta;
	Kvz_TRiclassificato aGruppo;
	bool bGruppoAperto = false;
	auto aggiungi = [&] {
		*m_pDBTRighe->AddRecord() = aGruppo;
	};
	try
	{
		SqlTable aTable(&aLetta, GetReadOnlySqlSession(), this);
		aTable.Open(FALSE, FALSE, TRUE);
		aTable.SelectAll();
		aTable.AddParam(_T("p2"), aLetta.f_Esercizio);
		aTable.AddFilterColumn(aLetta.f_Esercizio);
		aTable.AddParam(_T("p1"), aLetta.f_ModelloRiclassific);
		aTable.AddFilterColumn(aLetta.f_ModelloRiclassific);
		aTable.AddSortColumn(aLetta.f_CodRiclassificato);
		aTable.AddSortColumn(aLetta.f_Mese);
		// The data kinds of a code and month side by side, always in the same order.
		aTable.AddSortColumn(aLetta.f_TipoDatoPianoBase);
		aTable.SetParamValue(_T("p2"), pTesta->f_Esercizio);
		aTable.SetParamValue(_T("p1"), pTesta->f_ModelloRiclassific);
		for (aTable.Query(); !aTable.IsEOF(); aTable.MoveNext())
		{
			if (bGruppoAperto && StessoGruppo(aGruppo, aLetta))
			{
				Accumula(aGruppo, aLetta);
				continue;
			}
			if (bGruppoAperto)
				aggiungi();
			aGruppo = aLetta;
			bGruppoAperto = true;
		}
		if (bGruppoAperto)
			aggiungi();
		aTable.Close();
	}
	catch (const SqlException& e)
	{
		// The rows read so far stay in the grid.
		e.ShowError();
	}
	UpdateDataView();
}

// ---- form --------------------------------------------------------------------------------------

void Kvz_RiclassificatiRigheBodyEdit::Customize()
{
	auto* pRec = static_cast<Kvz_TRiclassificato*>(GetDBT()->GetRecord());
	auto titolo = [](LPCTSTR sz) { return AfxLoadSourceString(sz, kSource); };
	AddColumn(IDC_DERICLASSIFICATI_R_MESE, _T("Mese"), titolo(_T("Mese")), RUNTIME_CLASS(CIntStatic), pRec->f_Mese, 4);
	AddColumn(IDC_DERICLASSIFICATI_R_TIPORIGA, _T("TipoRiga"), titolo(_T("Tipo riga")), RUNTIME_CLASS(CEnumStatic),
			  pRec->f_TipoRiga, 14);
	AddColumn(IDC_DERICLASSIFICATI_R_CODICE, _T("Codice"), titolo(_T("Codice")), RUNTIME_CLASS(CStrStatic),
			  pRec->f_CodRiclassificato, 12);
	AddColumn(IDC_DERICLASSIFICATI_R_DESCRIZIONE, _T("Descrizione"), titolo(_T("Descrizione")),
			  RUNTIME_CLASS(CStrStatic), pRec->f_Descrizione, 20, 2);
	AddColumn(IDC_DERICLASSIFICATI_R_CALCOLO, _T("Calcolo"), titolo(_T("Calcolo")), RUNTIME_CLASS(CEnumStatic),
			  pRec->f_TipoDatoPianoBase, 20);
	AddColumn(IDC_DERICLASSIFICATI_R_FORMULA, _T("Formula"), titolo(_T("Formula")), RUNTIME_CLASS(CMoneyStatic),
			  pRec->f_Valore, 14);
	AddColumn(IDC_DERICLASSIFICATI_R_BUDGETA, _T("BudgetA"), titolo(_T("Budget A")), RUNTIME_CLASS(CMoneyStatic),
			  pRec->f_ValoreBudgetA, 14);
	AddColumn(IDC_DERICLASSIFICATI_R_BUDGETB, _T("BudgetB"), titolo(_T("Budget B")), RUNTIME_CLASS(CMoneyStatic),
			  pRec->f_ValoreBudgetB, 14);
	AddColumn(IDC_DERICLASSIFICATI_R_BUDGETC, _T("BudgetC"), titolo(_T("Budget C")), RUNTIME_CLASS(CMoneyStatic),
			  pRec->f_ValoreBudgetC, 14);
	DataMon* valori[] = {&pRec->f_Valore1, &pRec->f_Valore2, &pRec->f_Valore3, &pRec->f_Valore4, &pRec->f_Valore5,
						 &pRec->f_Valore6, &pRec->f_Valore7, &pRec->f_Valore8, &pRec->f_Valore9, &pRec->f_Valore10};
	for (int i = 0; i < 10; ++i)
	{
		const CString nome = CString::Formatted("Formula%d", i + 1);
		AddColumn(IDC_DERICLASSIFICATI_R_FORMULA1 + static_cast<UINT>(i), nome, titolo(nome), RUNTIME_CLASS(CMoneyStatic),
				  *valori[i], 14);
	}
	// Results are the run's: the grid only shows them.
	EnableAddRow(FALSE);
	EnableInsertRow(FALSE);
	EnableDeleteRow(FALSE);
}

void Kvz_RiclassificatiRigheDlg::BuildDataControlLinks()
{
	auto* pDoc = static_cast<Kvz_CDeRiclassificatiDoc*>(GetDocument());
	AddLink(IDC_DERICLASSIFICATI_RIGHE, AfxLoadSourceString(_T("Righe modelli di riclassificazione"), kSource),
			RUNTIME_CLASS(Kvz_RiclassificatiRigheBodyEdit), pDoc->GetDBTRighe());
}

void Kvz_CDeRiclassificatiView::BuildDataControlLinks()
{
	auto* pDoc = static_cast<Kvz_CDeRiclassificatiDoc*>(GetDocument());
	Kvz_TRiclassificatoTesta* pRec = pDoc->GetRiclassificatoTesta();
	AddLink(IDC_DERICLASSIFICATI_ESERCIZIO, AfxLoadSourceString(_T("Esercizio"), kSource), RUNTIME_CLASS(CIntEdit),
			&pRec->f_Esercizio);
	AddLink(IDC_DERICLASSIFICATI_MODELLO, AfxLoadSourceString(_T("Modello"), kSource), RUNTIME_CLASS(CStrEdit),
			&pRec->f_ModelloRiclassific);
	AddLink(IDC_DERICLASSIFICATI_DESCRIZIONE, AfxLoadSourceString(_T("Descrizione"), kSource), RUNTIME_CLASS(CStrEdit),
			&pRec->f_Descrizione);
	auto* pTabber = static_cast<Kvz_RiclassificatiTabber*>(
		AddLink(IDC_DERICLASSIFICATI_TABBER, _T("Kvz_RiclassificatiTabber"), RUNTIME_CLASS(Kvz_RiclassificatiTabber), nullptr));
	if (pTabber)
		pTabber->AddDialog(RUNTIME_CLASS(Kvz_RiclassificatiRigheDlg), IDD_DERICLASSIFICATI_RIGHE);
}
