#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_DettAssestamentoDoc.h"

#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CAssestamentoDoc.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlException.h"

namespace {
const char* const kSource = "Kvz_DettAssestamentoDoc";

Kvz_DettAssestamentoDoc* DocDi(DBTObject* pDBT)
{
	return dynamic_cast<Kvz_DettAssestamentoDoc*>(pDBT->GetDocument());
}
}  // namespace

// ---- lines -------------------------------------------------------------------------------------

Kvz_DBTDettAssestamento::Kvz_DBTDettAssestamento(CAbstractFormDoc* pDocument)
	: DBTSlaveBuffered(Kvz_TPianoBaseRigaDett::GetThisClass(), pDocument, _T("DBTDettAssestamento"), TRUE, FALSE)
{
}

void Kvz_DBTDettAssestamento::OnAfterAddRow(int, SqlRecord* pRec)
{
	DocDi(this)->PreparaLinea(static_cast<Kvz_TPianoBaseRigaDett*>(pRec));
}

void Kvz_DBTDettAssestamento::OnAfterInsertRow(int, SqlRecord* pRec)
{
	DocDi(this)->PreparaLinea(static_cast<Kvz_TPianoBaseRigaDett*>(pRec));
}

void Kvz_DBTDettAssestamento::OnAfterDeleteRow(int)
{
	// The caller's pending lines change only when the lines are confirmed.
	Kvz_DettAssestamentoDoc* pDoc = DocDi(this);
	pDoc->m_bModificato = TRUE;
	pDoc->RicalcolaTotali();
}

// ---- document ----------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(Kvz_DettAssestamentoDoc, Kvz_AssestamentoFiglioDoc)
	ON_EN_VALUE_CHANGED(IDC_DETT_ASSEST_DESCRIZIONE, OnDescrizioneChanged)
	ON_EN_VALUE_CHANGED(IDC_DETT_ASSEST_IMPORTO, OnImportoChanged)
	ON_BN_CLICKED(IDC_ASSEST_DELETE_ALL, OnCancellaTutto)
	ON_BN_CLICKED(IDC_ASSEST_DETT_OK, OnConferma)
	ON_BN_CLICKED(IDC_ASSEST_DETT_ANNULLA, OnAnnulla)
END_MESSAGE_MAP()

Kvz_DettAssestamentoDoc::Kvz_DettAssestamentoDoc() : m_UltimaRiga(0)
{
	for (DataObj* p : std::initializer_list<DataObj*>{&m_NomeMese, &m_SaldoContabile, &m_Assestamento, &m_Totale})
		p->SetReadOnly(TRUE);
}

Kvz_DettAssestamentoDoc::~Kvz_DettAssestamentoDoc() = default;

const char* Kvz_DettAssestamentoDoc::Sorgente() const
{
	return kSource;
}

BOOL Kvz_DettAssestamentoDoc::PrendiDalChiamante(Kvz_CAssestamentoDoc& aChiamante)
{
	const Kvz_TEnhPianoBaseRighe* pRiga = aChiamante.GetDBTRighe()->GetCurrentRiga();
	if (!pRiga)
	{
		ASSERT_RELEASE_FAILED("pRiga", "Kvz_DettAssestamentoDoc::OnOpenDocument", kSource);
		return FALSE;
	}
	m_IDPianoBase = pRiga->f_IDPianoBase;
	m_Mese = pRiga->f_Mese;
	m_NomeMese = AfxGetMonthName(pRiga->f_Mese);
	m_SaldoContabile = pRiga->f_SaldoContabile;
	m_Assestamento = pRiga->f_ImportoRateo;
	m_Totale = pRiga->f_TotaleAssestato;
	return TRUE;
}

BOOL Kvz_DettAssestamentoDoc::OnAttachData()
{
	SetFormTitle(Testo(_T("Dettaglio riga assestamento")));
	m_pDBT = std::make_unique<Kvz_DBTDettAssestamento>(this);
	return TRUE;
}

void Kvz_DettAssestamentoDoc::SganciaDalChiamante(Kvz_CAssestamentoDoc& aChiamante)
{
	aChiamante.SetDocDettaglio(nullptr);
}

void Kvz_DettAssestamentoDoc::PreparaLinea(Kvz_TPianoBaseRigaDett* pLinea)
{
	pLinea->f_IDPianoBase = m_IDPianoBase;
	pLinea->f_Mese = m_Mese;
	// Numbers are never given twice in one opening, deletions included.
	if (!m_bCaricamento)
	{
		m_UltimaRiga = int(m_UltimaRiga) + 1;
		pLinea->f_Riga = m_UltimaRiga;
	}
	UpdateDataView();
}

void Kvz_DettAssestamentoDoc::RiempiDBT()
{
	m_bCaricamento = TRUE;
	m_UltimaRiga = 0;
	m_pDBT->RemoveAll(TRUE);
	auto aggiungi = [&](const Kvz_TPianoBaseRigaDett& linea) {
		*m_pDBT->AddRecord() = linea;
		if (linea.f_Riga > m_UltimaRiga)
			m_UltimaRiga = linea.f_Riga;
	};
	if (const Kvz_ArrayDettaglioRiga* pPendenti = m_pChiamante ? m_pChiamante->GetArrayDettaglio(m_Mese) : nullptr)
		for (int i = 0; i < pPendenti->GetSize(); ++i)
			aggiungi(*pPendenti->GetAt(i));
	else
		try
		{
			Kvz_LeggiDettaglio(GetReadOnlySqlSession(), this, m_IDPianoBase, m_Mese, aggiungi);
		}
		catch (const SqlException& e)
		{
			ASSERT_RELEASE_TRACE(e.IsKindOf(SqlException::GetThisClass()), "Kvz_DettAssestamentoDoc::RiempiDBT", kSource);
			e.ShowError();
		}
	m_bCaricamento = FALSE;
	// A month without lines starts from one line holding its whole adjustment.
	if (m_pDBT->GetSize() == 0)
	{
		auto* pLinea = static_cast<Kvz_TPianoBaseRigaDett*>(m_pDBT->AddRecord());
		PreparaLinea(pLinea);
		pLinea->f_ImportoRateoDett = m_Assestamento;
		pLinea->SetStorable(TRUE);
	}
	UpdateDataView();
}

void Kvz_DettAssestamentoDoc::RicalcolaTotali()
{
	DataMon somma;
	for (int i = 0; i < m_pDBT->GetSize(); ++i)
		somma += m_pDBT->GetLinea(i)->f_ImportoRateoDett;
	m_Assestamento = somma;
	m_Totale = m_SaldoContabile + m_Assestamento;
	UpdateDataView();
}

void Kvz_DettAssestamentoDoc::RiportaAlChiamante()
{
	if (!m_pChiamante)
		return;
	auto pArray = std::make_unique<Kvz_ArrayDettaglioRiga>();
	for (int i = 0; i < m_pDBT->GetSize(); ++i)
	{
		const Kvz_TPianoBaseRigaDett* pLinea = m_pDBT->GetLinea(i);
		if (pLinea->f_Descrizione.IsEmpty() && pLinea->f_ImportoRateoDett.IsEmpty())
			continue;
		auto* pCopia = new Kvz_TPianoBaseRigaDett;
		*pCopia = *pLinea;
		pArray->Add(pCopia);
	}
	// Lines that hold nothing do not count as detail.
	const BOOL bConDettaglio = pArray->GetSize() > 0;
	m_pChiamante->SetArrayDettaglio(m_Mese, std::move(pArray));
	if (Kvz_TEnhPianoBaseRighe* pRiga = m_pChiamante->GetDBTRighe()->GetRigaMese(m_Mese))
	{
		pRiga->f_ImportoRateo = m_Assestamento;
		pRiga->f_TotaleAssestato = m_Totale;
		pRiga->l_ConDettaglio = bConDettaglio;
	}
	m_pChiamante->m_Modificato = TRUE;
	m_pChiamante->RicalcolaTotali(m_pChiamante->GetDBTRighe()->GetCurrentRowIdx());
}

void Kvz_DettAssestamentoDoc::OnDescrizioneChanged()
{
	m_bModificato = TRUE;
}

void Kvz_DettAssestamentoDoc::OnImportoChanged()
{
	m_bModificato = TRUE;
	RicalcolaTotali();
}

void Kvz_DettAssestamentoDoc::SvuotaRighe()
{
	m_pDBT->RemoveAll(TRUE);
	RicalcolaTotali();
}

void Kvz_DettAssestamentoDoc::OnConferma()
{
	RicalcolaTotali();
	RiportaAlChiamante();
	Chiudi(FALSE);
}

// ---- form --------------------------------------------------------------------------------------

void Kvz_DettAssestamentoEdit::Customize()
{
	auto* pRec = static_cast<Kvz_TPianoBaseRigaDett*>(GetDBT()->GetRecord());
	auto* pDoc = dynamic_cast<Kvz_DettAssestamentoDoc*>(GetDBT()->GetDocument());
	const BOOL bEditabile = pDoc && pDoc->m_bEditabile;
	if (bEditabile)
	{
		AddColumn(IDC_DETT_ASSEST_DESCRIZIONE, _T("Descrizione2"), _T("Descrizione"), RUNTIME_CLASS(CStrEdit),
				  pRec->f_Descrizione, 32, 2);
		AddColumn(IDC_DETT_ASSEST_P, _T("P2"), _T("P2"), RUNTIME_CLASS(CBoolStatic), pRec->f_RateoDaPrevisionale, 3);
		AddColumn(IDC_DETT_ASSEST_IMPORTO, _T("Importo2"), _T("Importo"), RUNTIME_CLASS(CMoneyEdit),
				  pRec->f_ImportoRateoDett, 14);
	}
	else
	{
		AddColumn(IDC_DETT_ASSEST_DESCRIZIONE, _T("Descrizione"), _T("Descrizione"), RUNTIME_CLASS(CStrStatic),
				  pRec->f_Descrizione, 32, 2);
		AddColumn(IDC_DETT_ASSEST_P, _T("P"), _T("P"), RUNTIME_CLASS(CBoolStatic), pRec->f_RateoDaPrevisionale, 3);
		AddColumn(IDC_DETT_ASSEST_IMPORTO, _T("Importo"), _T("Importo"), RUNTIME_CLASS(CMoneyStatic),
				  pRec->f_ImportoRateoDett, 14);
		EnableAddRow(FALSE);
		EnableInsertRow(FALSE);
		EnableDeleteRow(FALSE);
	}
}

void Kvz_DettAssestamentoView::BuildDataControlLinks()
{
	auto* pDoc = static_cast<Kvz_DettAssestamentoDoc*>(GetDocument());
	AddLink(IDC_DETT_ASSEST_MESE, _T("Dettaglio del mese:"), RUNTIME_CLASS(CStrStatic), &pDoc->m_NomeMese);
	AddLink(IDC_DETT_ASSEST_SALDO, _T("Saldo contabile:"), RUNTIME_CLASS(CMoneyStatic), &pDoc->m_SaldoContabile);
	AddLink(IDC_DETT_ASSEST_IMP_ASS, _T("Assestamento:"), RUNTIME_CLASS(CMoneyStatic), &pDoc->m_Assestamento);
	AddLink(IDC_DETT_ASSEST_TOT_ASS, _T("Totale assestato:"), RUNTIME_CLASS(CMoneyStatic), &pDoc->m_Totale);
	AddLink(IDC_DETT_ASSEST_GRID, _T("Dettaglio assestamento"), RUNTIME_CLASS(Kvz_DettAssestamentoEdit), pDoc->GetDBT());
	AddLink(IDC_ASSEST_DELETE_ALL, _T("&Cancella tutto"), RUNTIME_CLASS(CExtButton), &pDoc->m_bEditabile);
	AddLink(IDC_ASSEST_DETT_OK, _T("Aggio&rna"), RUNTIME_CLASS(CExtButton), &pDoc->m_bEditabile);
	AddButton(IDC_ASSEST_DETT_ANNULLA, _T("&Annulla"));
	pDoc->RiempiDBT();
}
