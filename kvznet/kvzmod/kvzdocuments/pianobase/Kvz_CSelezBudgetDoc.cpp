#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CSelezBudgetDoc.h"

#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CBudgetDoc.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormulaErrori.h"
#include "platform/erp/erpbasedbl/TPaymentTerms.h"
#include "platform/erp/erpbasedbl/TTAX.h"
#include "platform/plvgeneric/Application.h"

namespace {
const char* const kSource = "SelezBudget";
const char* const kNamespaceBudget = "KvzNet.KvzMod.KvzDocuments.DBudget";

CString Testo(LPCTSTR szTesto)
{
	return AfxLoadSourceString(szTesto, kSource);
}
}  // namespace

// ---- buffers -----------------------------------------------------------------------------------

Kvz_DBTSelContiBdgKvz::Kvz_DBTSelContiBdgKvz(CAbstractFormDoc* pDocument)
	: DBTSlaveBuffered(Kvz_TAnagContiKvz::GetThisClass(), pDocument, _T("DBTSelContiBdgKvz"), TRUE, FALSE)
{
}

Kvz_DBTAnteprimaBudget::Kvz_DBTAnteprimaBudget(CAbstractFormDoc* pDocument)
	: DBTSlaveBuffered(Kvz_TEnhBudgetRighe::GetThisClass(), pDocument, _T("DBTAnteprimaBudget"), TRUE, FALSE)
{
}

Kvz_DBTSelezCdcCommBudget::Kvz_DBTSelezCdcCommBudget(CAbstractFormDoc* pDocument)
	: DBTSlaveBuffered(Kvz_TCentriCommesseContiKvz::GetThisClass(), pDocument, _T("DBTSelezCdcCommBudget"), TRUE, FALSE)
{
}

// ---- document ----------------------------------------------------------------------------------


BEGIN_MESSAGE_MAP(Kvz_CSelezBudgetDoc, CAbstractFormDoc)
	ON_BN_CLICKED(IDC_SEL_BDG_INTERROGA, OnInterroga)
	ON_EN_VALUE_CHANGED(IDC_SEL_BDG_ANNO, OnAnnoChanged)
	ON_BN_CLICKED(IDC_SEL_BDG_ANNO_PREC, OnAnnoPrec)
	ON_BN_CLICKED(IDC_SEL_BDG_ANNO_SUCC, OnAnnoSucc)
	ON_EN_VALUE_CHANGED(IDC_SEL_BDG_TIPO_BUDGET, OnTipoBudgetChanged)
	ON_BEN_ROW_CHANGED(IDC_SEL_BDG_CONTI, OnContoRowChanged)
	ON_BEN_ROW_CHANGED(IDC_SEL_BDG_CENTRI, OnCentroRowChanged)
	ON_EN_VALUE_CHANGED(IDC_SEL_BDG_CENTRI_PERC, OnPercChanged)
	ON_BEN_ROW_CLICKED(IDC_SEL_BDG_CONTI, OnContoClicked)
	ON_BEN_ROW_CLICKED(IDC_SEL_BDG_CENTRI, OnCentroClicked)
	ON_BEN_ROW_DBLCLICKED(IDC_SEL_BDG_CONTI, OnContoDblClicked)
	ON_BEN_ROW_DBLCLICKED(IDC_SEL_BDG_CENTRI, OnCentroDblClicked)
END_MESSAGE_MAP()

Kvz_CSelezBudgetDoc::Kvz_CSelezBudgetDoc()
{
	SetBatchDocument(TRUE);
	m_Anno = AfxGetApplicationDate().Year();
	m_TipoCentroCommSel = DataEnum(E_KVZ_TIPOCENTROCOMM, 0);
}

Kvz_CSelezBudgetDoc::~Kvz_CSelezBudgetDoc()
{
	if (m_pBudgetDoc && AfxExistWebServiceStateObject(m_pBudgetDoc))
		m_pBudgetDoc->DimenticaChiamante();
	delete m_pDBTConti;
	delete m_pDBTAnteprima;
	delete m_pDBTCentri;
}

BOOL Kvz_CSelezBudgetDoc::OnAttachData()
{
	SetFormTitle(Testo(_T("Budget per conto raggruppato")));
	m_pDBTConti = new Kvz_DBTSelContiBdgKvz(this);
	m_pDBTAnteprima = new Kvz_DBTAnteprimaBudget(this);
	m_pDBTCentri = new Kvz_DBTSelezCdcCommBudget(this);
	m_pHKLCodiciBudget = new Kvz_HKLCodiciBudget;
	Attach(m_pHKLCodiciBudget, CString());
	return TRUE;
}

Kvz_TAnagContiKvz* Kvz_CSelezBudgetDoc::GetRigaContoCorrente() const
{
	if (m_pDBTConti->GetSize() == 0)
		return nullptr;
	const int nRiga = m_pDBTConti->GetCurrentRowIdx();
	return m_pDBTConti->GetConto(nRiga >= 0 ? nRiga : 0);
}

Kvz_TCentriCommesseContiKvz* Kvz_CSelezBudgetDoc::GetRigaCentroCorrente() const
{
	return static_cast<Kvz_TCentriCommesseContiKvz*>(m_pDBTCentri->GetCurrentRow());
}

void Kvz_CSelezBudgetDoc::AzzeraCentroSel()
{
	m_CentroCommSel.Clear();
	m_DescrCentroCommSel.Clear();
	m_TipoCentroCommSel = DataEnum(E_KVZ_TIPOCENTROCOMM, 0);
}

void Kvz_CSelezBudgetDoc::RiempiDBTConti()
{
	AzzeraCentroSel();
	m_pDBTConti->RemoveAll(TRUE);
	m_pDBTCentri->RemoveAll(TRUE);
	try
	{
		Kvz_TAnagContiKvz rec;
		SqlTable t(&rec, GetReadOnlySqlSession(), this);
		t.Open(FALSE);
		t.SelectAll();
		t.AddParam("p1", rec.f_Esercizio);
		t.AddFilterColumn(rec.f_Esercizio);
		if (!m_bTutti)
		{
			t.AddParam("p2", rec.f_TipoConto);
			t.AddFilterColumn(rec.f_TipoConto);
		}
		if (!m_CodiceBudget.IsEmpty())
		{
			t.AddParam("p3", rec.f_CodiceBudget);
			t.AddFilterColumn(rec.f_CodiceBudget);
		}
		t.AddSortColumn(rec.f_ContoKvz);
		t.SetParamValue("p1", m_Anno);
		if (!m_bTutti)
			t.SetParamValue("p2", DataEnum(E_TIPOCONTO, m_bEconomici ? 0 : 1));
		if (!m_CodiceBudget.IsEmpty())
			t.SetParamValue("p3", m_CodiceBudget);
		BeginWaitCursor();
		for (t.Query(); !t.IsEOF(); t.MoveNext())
		{
			auto* pRiga = static_cast<Kvz_TAnagContiKvz*>(m_pDBTConti->AddRecord());
			*pRiga = rec;
			pRiga->l_TmpInp = " ";
		}
		EndWaitCursor();
	}
	catch (const SqlException& e)
	{
		EndWaitCursor();
		MostraErroreSql(e, "Kvz_CSelezBudgetDoc::RiempiDBTConti", kSource);
	}
	m_pDBTConti->SetCurrentRow(-1);
}

void Kvz_CSelezBudgetDoc::RiempiDBTCentriComm()
{
	m_pDBTCentri->RemoveAll(TRUE);
	const Kvz_TAnagContiKvz* pConto = GetRigaContoCorrente();
	if (!pConto)
		return;
	try
	{
		for (const Kvz_TCentriCommesseContiKvz& centro :
			 Kvz_CentriDelConto(GetReadOnlySqlSession(), this, m_Anno, pConto->f_ContoKvz))
			*static_cast<Kvz_TCentriCommesseContiKvz*>(m_pDBTCentri->AddRecord()) = centro;
	}
	catch (const SqlException& e)
	{
		MostraErroreSql(e, "Kvz_CSelezBudgetDoc::RiempiDBTCentriComm", kSource);
	}
	m_pDBTCentri->SetCurrentRow(-1);
}

void Kvz_CSelezBudgetDoc::RiempiDBTBudget(SqlRecord* pRigaConto)
{
	auto* pConto = pRigaConto ? static_cast<Kvz_TAnagContiKvz*>(pRigaConto)
							  : (m_pDBTConti->GetSize() ? m_pDBTConti->GetConto(0) : nullptr);
	BeginWaitCursor();
	m_pDBTAnteprima->RemoveAll(TRUE);
	if (!pConto)
	{
		EndWaitCursor();
		UpdateDataView();
		return;
	}
	try
	{
		const DataEnum tipoCentro =
			m_TipoCentroCommSel.IsEmpty() ? DataEnum(E_KVZ_TIPOCENTROCOMM, 0) : m_TipoCentroCommSel;
		Kvz_ChiaveBudget chiave{m_Anno, m_TipoBudget, pConto->f_ContoKvz, m_CentroCommSel, &tipoCentro};
		const DataLng id = Kvz_TrovaBudget(GetReadOnlySqlSession(), this, chiave);
		if (!id.IsEmpty())
		{
			Kvz_TEnhBudgetRighe riga;
			SqlTable r(&riga, GetReadOnlySqlSession(), this);
			r.Open(FALSE);
			r.SelectAll();
			r.AddParam("p4", riga.f_IDBudget);
			r.AddFilterColumn(riga.f_IDBudget);
			r.AddSortColumn(riga.f_Mese);
			r.SetParamValue("p4", id);
			HKLPaymentTerms termini;
			termini.AttachDocument(this);
			HKLTAX iva;
			iva.AttachDocument(this);
			for (r.Query(); !r.IsEOF(); r.MoveNext())
			{
				auto* pRiga = static_cast<Kvz_TEnhBudgetRighe*>(m_pDBTAnteprima->AddRecord());
				*pRiga = riga;
				if (!pRiga->f_CondPag.IsEmpty() && termini.FindRecord(&pRiga->f_CondPag))
					pRiga->l_DescrCondPag = termini.GetRecord()->f_Description;
				if (!pRiga->f_CodIVA.IsEmpty() && iva.FindRecord(&pRiga->f_CodIVA))
					pRiga->l_DescrIVA = iva.GetRecord()->f_Description;
			}
		}
	}
	catch (const SqlException& e)
	{
		MostraErroreSql(e, "Kvz_CSelezBudgetDoc::RiempiDBTBudget", kSource);
	}
	EndWaitCursor();
	UpdateDataView();
}

void Kvz_CSelezBudgetDoc::ApriBudget()
{
	Kvz_ADMBudgetObj* pADM = Kvz_ADMBudgetObj::ApriDocumentoBudget(kNamespaceBudget, this);
	if (!pADM)
		return;
	m_pBudgetDoc = dynamic_cast<Kvz_CBudgetDoc*>(pADM->GetDocument());
	if (m_pDBTAnteprima->GetSize() == 0)
	{
		const Kvz_TAnagContiKvz* pConto = GetRigaContoCorrente();
		if (!pConto)
			return;
		m_ContoSel = pConto->f_ContoKvz;
		pADM->ADMNewDocument();
		return;
	}
	if (pADM->MostraBudget(m_pDBTAnteprima->GetRiga(0)->f_IDBudget))
		pADM->ADMEditDocument();
}

// ---- handlers ----------------------------------------------------------------------------------

void Kvz_CSelezBudgetDoc::OnInterroga()
{
	RiempiDBTConti();
	RiempiDBTBudget(nullptr);
}

void Kvz_CSelezBudgetDoc::OnAnnoChanged()
{
	RiempiDBTConti();
	UpdateDataView();
}

void Kvz_CSelezBudgetDoc::OnAnnoPrec()
{
	m_Anno = m_Anno - 1;
	RiempiDBTConti();
	UpdateDataView();
}

void Kvz_CSelezBudgetDoc::OnAnnoSucc()
{
	m_Anno = m_Anno + 1;
	RiempiDBTConti();
	UpdateDataView();
}

void Kvz_CSelezBudgetDoc::OnTipoBudgetChanged()
{
	RiempiDBTBudget(m_pDBTConti->GetCurrentRow());
	UpdateDataView();
}

void Kvz_CSelezBudgetDoc::OnContoRowChanged()
{
	const Kvz_TAnagContiKvz* pConto = static_cast<Kvz_TAnagContiKvz*>(m_pDBTConti->GetCurrentRow());
	if (!pConto)
		return;
	m_ContoSel = pConto->f_ContoKvz;
	AzzeraCentroSel();
	RiempiDBTBudget(m_pDBTConti->GetCurrentRow());
	RiempiDBTCentriComm();
	UpdateDataView();
}

void Kvz_CSelezBudgetDoc::OnCentroRowChanged()
{
	const Kvz_TCentriCommesseContiKvz* pCentro = GetRigaCentroCorrente();
	if (!pCentro)
		return;
	m_CentroCommSel = pCentro->f_CentroCommessa;
	m_DescrCentroCommSel = pCentro->f_Descrizione;
	m_TipoCentroCommSel = pCentro->f_Tipo;
	RiempiDBTBudget(m_pDBTConti->GetCurrentRow());
	UpdateDataView();
}

void Kvz_CSelezBudgetDoc::OnPercChanged()
{
	const Kvz_TCentriCommesseContiKvz* pCentro = GetRigaCentroCorrente();
	if (!pCentro)
		return;
	try
	{
		// Kept at once: the budget amounts of the centre are recomputed from the account's.
		Kvz_TUCentriCommesseContiKvz upd(this);
		upd.SetAutocommit(TRUE);
		if (upd.FindRecord(pCentro->f_Esercizio, pCentro->f_ContoKvz, pCentro->f_CentroCommessa, pCentro->f_Tipo,
						   FALSE) == TableReader::FOUND)
		{
			upd.GetRecord()->f_PercRipartizioneBudget = pCentro->f_PercRipartizioneBudget;
			upd.UpdateRecord();
		}
	}
	catch (const SqlException& e)
	{
		MostraErroreSql(e, "Kvz_CSelezBudgetDoc::OnPercChanged", kSource);
	}
}

void Kvz_CSelezBudgetDoc::OnContoClicked()
{
	m_bContoCliccato = TRUE;
	const Kvz_TAnagContiKvz* pConto = static_cast<Kvz_TAnagContiKvz*>(m_pDBTConti->GetCurrentRow());
	if (pConto && pConto->f_ContoKvz == m_ContoSel && !m_CentroCommSel.IsEmpty())
	{
		// Back to the account's own budget.
		AzzeraCentroSel();
		RiempiDBTBudget(m_pDBTConti->GetCurrentRow());
	}
}

void Kvz_CSelezBudgetDoc::OnCentroClicked()
{
	if (!m_bContoCliccato)
		return;
	m_bContoCliccato = FALSE;
	const Kvz_TCentriCommesseContiKvz* pCentro = GetRigaCentroCorrente();
	if (!pCentro)
		return;
	m_ContoSel = pCentro->f_ContoKvz;
	m_CentroCommSel = pCentro->f_CentroCommessa;
	m_DescrCentroCommSel = pCentro->f_Descrizione;
	m_TipoCentroCommSel = pCentro->f_Tipo;
	RiempiDBTBudget(m_pDBTConti->GetCurrentRow());
}

void Kvz_CSelezBudgetDoc::OnContoDblClicked()
{
	m_bContoCliccato = TRUE;
	ApriBudget();
}

void Kvz_CSelezBudgetDoc::OnCentroDblClicked()
{
	ApriBudget();
}

// ---- form --------------------------------------------------------------------------------------

void Kvz_CSelezBudgetView::BuildDataControlLinks()
{
	auto* pDoc = static_cast<Kvz_CSelezBudgetDoc*>(GetDocument());
	AddRadio(IDC_SEL_BDG_TIPO_CONTO_ECON, _T("Economici"), &pDoc->m_bEconomici, IDC_SEL_BDG_TIPO_CONTO_ECON);
	AddRadio(IDC_SEL_BDG_TIPO_CONTO_PATRIM, _T("Patrimoniali"), &pDoc->m_bPatrimoniali, IDC_SEL_BDG_TIPO_CONTO_ECON);
	AddRadio(IDC_SEL_BDG_TIPO_CONTO_TUTTI, _T("Tutti"), &pDoc->m_bTutti, IDC_SEL_BDG_TIPO_CONTO_ECON);
	AddLink(IDC_SEL_BDG_ANNO, _T("Anno"), RUNTIME_CLASS(CIntEdit), &pDoc->m_Anno);
	pDoc->m_Anno.SetFieldRule(FieldRule::AnYear());
	AddButton(IDC_SEL_BDG_ANNO_PREC, _T("<-"));
	AddButton(IDC_SEL_BDG_ANNO_SUCC, _T("->"));
	AddLink(IDC_SEL_BDG_CODICE_BUDGET, _T("Cod.budget"), RUNTIME_CLASS(CStrEdit), &pDoc->m_CodiceBudget,
			pDoc->m_pHKLCodiciBudget);
	AddLink(IDC_SEL_BDG_DESCR_CODICE, _T("SEL_BDG_DESCR_CODICE"), RUNTIME_CLASS(CStrStatic),
			&pDoc->m_pHKLCodiciBudget->GetRecord()->f_Descrizione);
	AddLink(IDC_SEL_BDG_TIPO_BUDGET, _T("Tipo budget"), RUNTIME_CLASS(Kvz_TipoBudgetSelezCombo), &pDoc->m_TipoBudget);
	AddLink(IDC_SEL_BDG_DESCRI_BUDGET, _T("Descrizione"), RUNTIME_CLASS(CStrEdit), &pDoc->m_DescriBudget);
	AddButton(IDC_SEL_BDG_INTERROGA, _T("&Interroga"));
	AddLink(IDC_SEL_BDG_CONTI, _T("Conti"), RUNTIME_CLASS(Kvz_SelContiBdgKvzEdit), pDoc->m_pDBTConti);
	AddLink(IDC_SEL_BDG_CENTRI, _T("Centri commesse"), RUNTIME_CLASS(Kvz_SelezCdcCommBudgetEdit), pDoc->m_pDBTCentri);
	AddLink(IDC_SEL_BDG_ANTEPRIMA, _T("Anteprima budget"), RUNTIME_CLASS(Kvz_AnteprimaBudgetEdit), pDoc->m_pDBTAnteprima);
	AddLink(IDC_SEL_BDG_NOTA1, _T("SEL_BDG_NOTA1"), RUNTIME_CLASS(CStrStatic), &pDoc->m_Nota1);
	AddLink(IDC_SEL_BDG_NOTA2, _T("SEL_BDG_NOTA2"), RUNTIME_CLASS(CStrStatic), &pDoc->m_Nota2);
	SetLabels({{_T("SEL_BDG_DESCR_CODICE"), _T("Descrizione codice budget")},
			   {_T("SEL_BDG_NOTA1"), _T("Nota 1")},
			   {_T("SEL_BDG_NOTA2"), _T("Nota 2")}});
	pDoc->RiempiDBTConti();
}

namespace {
void SoloLettura(CBodyEdit& grid)
{
	grid.EnableAddRow(FALSE);
	grid.EnableInsertRow(FALSE);
	grid.EnableDeleteRow(FALSE);
	grid.SetMultipleLinesPerRow();
}
}  // namespace

void Kvz_SelContiBdgKvzEdit::Customize()
{
	auto* pRec = static_cast<Kvz_TAnagContiKvz*>(GetDBT()->GetRecord());
	AddColumn(IDC_SEL_BDG_CONTI_CONTO, _T("ContoKvz"), _T("Conto Kvz"), RUNTIME_CLASS(CStrStatic), pRec->f_ContoKvz, 11)
		->SetReadOnly();
	AddColumn(IDC_SEL_BDG_CONTI_DESCRIZIONE, _T("Descrizione"), _T("Descrizione"), RUNTIME_CLASS(CStrStatic),
			  pRec->f_Descrizione, 30)
		->SetReadOnly();
	AddColumn(IDC_SEL_BDG_CONTI_T, _T("T"), _T(" "), RUNTIME_CLASS(CStrStatic), pRec->l_TmpInp, 1)->SetReadOnly();
	SetRowColor(TRUE, 0xFF0000);
	SoloLettura(*this);
}

void Kvz_SelezCdcCommBudgetEdit::Customize()
{
	auto* pRec = static_cast<Kvz_TCentriCommesseContiKvz*>(GetDBT()->GetRecord());
	AddColumn(IDC_SEL_BDG_CENTRI_TIPO, _T("Tipo"), _T("Tipo"), RUNTIME_CLASS(CEnumStatic), pRec->f_Tipo, 12)->SetReadOnly();
	AddColumn(IDC_SEL_BDG_CENTRI_CODICE, _T("CentroCommessa"), _T("Centro/Commessa"), RUNTIME_CLASS(CStrStatic),
			  pRec->f_CentroCommessa, 12)
		->SetReadOnly();
	AddColumn(IDC_SEL_BDG_CENTRI_DESCRIZIONE, _T("Descrizione"), _T("Descrizione"), RUNTIME_CLASS(CStrStatic),
			  pRec->f_Descrizione, 16)
		->SetReadOnly();
	AddColumn(IDC_SEL_BDG_CENTRI_PERC, _T("Ripartizione"), _T("% ripartizione"), RUNTIME_CLASS(CPercEdit),
			  pRec->f_PercRipartizioneBudget, 8);
	SetRowColor(TRUE, 0xFF0000);
	SoloLettura(*this);
}

void Kvz_AnteprimaBudgetEdit::Customize()
{
	auto* pRec = static_cast<Kvz_TEnhBudgetRighe*>(GetDBT()->GetRecord());
	AddColumn(IDC_SEL_BDG_ANT_MESE, _T("Mese"), _T("Mese"), RUNTIME_CLASS(CIntStatic), pRec->f_Mese, 4)->SetReadOnly();
	AddColumn(IDC_SEL_BDG_ANT_IMPORTO, _T("Importo"), _T("Importo"), RUNTIME_CLASS(CMoneyStatic), pRec->f_ImportoMese, 16)
		->SetReadOnly();
	AddColumn(IDC_SEL_BDG_ANT_COD_IVA, _T("CodiceIVA"), _T("Codice IVA"), RUNTIME_CLASS(CStrStatic), pRec->f_CodIVA, 6)
		->SetReadOnly();
	AddColumn(IDC_SEL_BDG_ANT_DES_IVA, _T("Descrizione"), _T("Descrizione"), RUNTIME_CLASS(CStrStatic), pRec->l_DescrIVA,
			  20)
		->SetReadOnly();
	AddColumn(IDC_SEL_BDG_ANT_COND_PAG, _T("Cond.pagamento"), _T("Cond. pagamento"), RUNTIME_CLASS(CStrStatic),
			  pRec->f_CondPag, 8)
		->SetReadOnly();
	AddColumn(IDC_SEL_BDG_ANT_DES_COND_PAG, _T("DescrizionePag"), _T("Descrizione cond. pag."), RUNTIME_CLASS(CStrStatic),
			  pRec->l_DescrCondPag, 20)
		->SetReadOnly();
	SoloLettura(*this);
}
