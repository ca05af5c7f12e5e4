#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_RipAssestamentoDoc.h"

#include <cmath>

#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CAssestamentoDoc.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlException.h"

namespace {
const char* const kSource = "Kvz_RipAssestamentoDoc";

bool Positivo(const DataMon& v)
{
	return v > GetMonEpsilon();
}

bool Nullo(double v)
{
	return std::fabs(v) <= GetMonEpsilon();
}
}  // namespace

// ---- months ------------------------------------------------------------------------------------

Kvz_DBTRipAssestamento::Kvz_DBTRipAssestamento(CAbstractFormDoc* pDocument)
	: DBTSlaveBuffered(Kvz_TRipartizioniAssestamento::GetThisClass(), pDocument, _T("DBTRipAssestamento"), TRUE, FALSE)
{
}

Kvz_TRipartizioniAssestamento* Kvz_DBTRipAssestamento::GetCurrentRecord() const
{
	ASSERT_RELEASE_TRACE(!GetCurrentRow() || GetCurrentRow()->IsKindOf(Kvz_TRipartizioniAssestamento::GetThisClass()),
						 "Kvz_DBTRipAssestamento::GetCurrentRecord", kSource);
	return static_cast<Kvz_TRipartizioniAssestamento*>(GetCurrentRow());
}

void Kvz_DBTRipAssestamento::OnPreparePrimaryKey(int, SqlRecord* pRec)
{
	ASSERT_RELEASE_TRACE(pRec->IsKindOf(Kvz_TRipartizioniAssestamento::GetThisClass()),
						 "Kvz_DBTRipAssestamento::OnPreparePrimaryKey", kSource);
	auto* pDoc = static_cast<Kvz_RipAssestamentoDoc*>(GetDocument());
	auto* pMese = static_cast<Kvz_TRipartizioniAssestamento*>(pRec);
	pMese->f_Anno = pDoc->GetAnno();
	pMese->f_ContoKvz = pDoc->GetContoKvz();
	pDoc->UpdateDataView();
}

void Kvz_DBTRipAssestamento::OnAfterDeleteRow(int)
{
	// The caller's pending spreads change only when the spread is confirmed.
	auto* pDoc = static_cast<Kvz_RipAssestamentoDoc*>(GetDocument());
	pDoc->m_bModificato = TRUE;
	pDoc->RicalcolaSommaPercentuali();
}

// ---- document ----------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(Kvz_RipAssestamentoDoc, Kvz_AssestamentoFiglioDoc)
	ON_EN_VALUE_CHANGED(IDC_ASSEST_RIP_PERC, OnPercentualeChanged)
	ON_BN_CLICKED(IDC_ASSEST_RIP_CALCOLA, OnCalcola)
	ON_BN_CLICKED(IDC_ASSEST_RIP_DELETE_ALL, OnCancellaTutto)
	ON_BN_CLICKED(IDC_ASSEST_RIP_OK, OnConferma)
	ON_BN_CLICKED(IDC_ASSEST_RIP_ANNULLA, OnAnnulla)
END_MESSAGE_MAP()

Kvz_RipAssestamentoDoc::Kvz_RipAssestamentoDoc() : m_bPerTotale(FALSE)
{
	m_SommaPercentuali.SetReadOnly(TRUE);
	for (DataMon& t : m_Trimestri)
		t.SetReadOnly(TRUE);
}

Kvz_RipAssestamentoDoc::~Kvz_RipAssestamentoDoc() = default;

const char* Kvz_RipAssestamentoDoc::Sorgente() const
{
	return kSource;
}

BOOL Kvz_RipAssestamentoDoc::PrendiDalChiamante(Kvz_CAssestamentoDoc& aChiamante)
{
	Kvz_DBTRighePianoBase* pRighe = aChiamante.GetDBTRighe();
	// Without months there is nothing to spread over.
	if (pRighe->GetSize() == 0)
		return FALSE;
	if (pRighe->GetCurrentRowIdx() < 0)
		pRighe->SetCurrentRow(0);
	const Kvz_TEnhPianoBaseRighe* pRiga = pRighe->GetCurrentRiga();
	m_TotaleDaRipartire = aChiamante.m_Totale;
	m_bPerTotale = aChiamante.m_bRipartTotale;
	m_Trimestri = aChiamante.m_Trimestri;
	for (DataMon& t : m_Trimestri)
		t.SetReadOnly(TRUE);
	m_ContoKvz = pRiga->f_ContoKvz;
	m_Anno = pRiga->f_Esercizio;
	m_MeseChiamante = pRiga->f_Mese;
	return TRUE;
}

BOOL Kvz_RipAssestamentoDoc::OnAttachData()
{
	SetFormTitle(Testo(_T("Ripartizioni in percentuale assestamento")));
	m_pDBT = std::make_unique<Kvz_DBTRipAssestamento>(this);
	return TRUE;
}

void Kvz_RipAssestamentoDoc::SganciaDalChiamante(Kvz_CAssestamentoDoc& aChiamante)
{
	aChiamante.SetDocRipartizione(nullptr);
}

void Kvz_RipAssestamentoDoc::CreaMesi()
{
	for (int m = 1; m <= 12; ++m)
	{
		auto* pMese = static_cast<Kvz_TRipartizioniAssestamento*>(m_pDBT->AddRecord());
		pMese->f_ContoKvz = m_ContoKvz;
		pMese->f_Anno = m_Anno;
		pMese->f_Mese = m;
		pMese->SetStorable(TRUE);
	}
}

void Kvz_RipAssestamentoDoc::RiempiDBT()
{
	m_bCaricamento = TRUE;
	m_pDBT->RemoveAll(TRUE);
	if (const Kvz_ArrayRipartizioniRiga* pPendenti =
			m_pChiamante ? m_pChiamante->GetArrayRipartizioni(m_MeseChiamante) : nullptr)
		for (int i = 0; i < pPendenti->GetSize(); ++i)
			*m_pDBT->AddRecord() = *pPendenti->GetAt(i);
	else
	{
		try
		{
			Kvz_TRipartizioniAssestamento rec;
			SqlTable table(&rec, GetReadOnlySqlSession(), this);
			table.Open(FALSE, FALSE, TRUE);
			table.SelectAll();
			table.AddParam(_T("p1"), rec.f_ContoKvz);
			table.AddFilterColumn(rec.f_ContoKvz);
			table.AddParam(_T("p3"), rec.f_Anno);
			table.AddFilterColumn(rec.f_Anno);
			table.AddSortColumn(rec.f_Mese);
			table.SetParamValue(_T("p1"), m_ContoKvz);
			table.SetParamValue(_T("p3"), m_Anno);
			for (table.Query(); !table.IsEOF(); table.MoveNext())
				*m_pDBT->AddRecord() = rec;
			table.Close();
		}
		catch (const SqlException& e)
		{
			ASSERT_RELEASE_TRACE(e.IsKindOf(SqlException::GetThisClass()), "Kvz_RipAssestamentoDoc::RiempiDBT", kSource);
			e.ShowError();
		}
		if (m_pDBT->GetSize() == 0)
			CreaMesi();
	}
	m_bCaricamento = FALSE;
	if (m_pDBT->GetSize() == 0)
		m_pDBT->AddRecord()->SetStorable(TRUE);
	RicalcolaSommaPercentuali();
	UpdateDataView();
}

void Kvz_RipAssestamentoDoc::RicalcolaSommaPercentuali()
{
	double somma = 0;
	for (int i = 0; i < m_pDBT->GetSize(); ++i)
		somma += m_pDBT->GetMese(i)->f_Percentuale;
	m_SommaPercentuali = somma;
	UpdateDataView();
}

const DataMon* Kvz_RipAssestamentoDoc::TrimestreDi(int nMese) const
{
	return nMese >= 1 && nMese <= 12 ? &m_Trimestri[static_cast<size_t>((nMese - 1) / 3)] : nullptr;
}

void Kvz_RipAssestamentoDoc::Ripartisci()
{
	m_SommaPercentuali = 0.0;
	if (m_pDBT->GetSize() == 0)
		return;
	// The sums of the values over the year and over each quarter, by the rows' months.
	double s = 0;
	std::array<double, 4> q{};
	for (int i = 0; i < m_pDBT->GetSize(); ++i)
	{
		const Kvz_TRipartizioniAssestamento* pMese = m_pDBT->GetMese(i);
		s += pMese->f_Dati;
		if (pMese->f_Mese >= 1 && pMese->f_Mese <= 12)
			q[static_cast<size_t>((int(pMese->f_Mese) - 1) / 3)] += pMese->f_Dati;
	}
	const bool bPercentualiDigitate = Nullo(s) && Nullo(q[0]) && Nullo(q[1]) && Nullo(q[2]) && Nullo(q[3]);
	double somma = 0;
	for (int i = 0; i < m_pDBT->GetSize(); ++i)
	{
		Kvz_TRipartizioniAssestamento* pMese = m_pDBT->GetMese(i);
		const DataMon* pTrimestre = TrimestreDi(pMese->f_Mese);
		const double base = m_bPerTotale ? double(m_TotaleDaRipartire) : pTrimestre ? double(*pTrimestre) : 0.0;
		if (bPercentualiDigitate)
		{
			if (pMese->f_Percentuale <= DataPerc::GetStaticEpsilon())
				continue;
			pMese->f_Rateo = base * pMese->f_Percentuale / 100.0;
			somma += pMese->f_Percentuale;
			continue;
		}
		if (!Positivo(pMese->f_Dati))
			continue;
		const double divisore =
			m_bPerTotale ? s : pMese->f_Mese >= 1 && pMese->f_Mese <= 12 ? q[static_cast<size_t>((int(pMese->f_Mese) - 1) / 3)] : 0.0;
		// Values that cancel out (+5 and -5) give no percentage: the month keeps its own.
		if (Nullo(divisore))
			continue;
		pMese->f_Percentuale = pMese->f_Dati / divisore * 100.0;
		pMese->f_Rateo = base * pMese->f_Percentuale / 100.0;
		somma += pMese->f_Percentuale;
	}
	m_SommaPercentuali = somma;
	m_bModificato = TRUE;
	UpdateDataView();
}

void Kvz_RipAssestamentoDoc::OnPercentualeChanged()
{
	Kvz_TRipartizioniAssestamento* pMese = m_pDBT->GetCurrentRecord();
	if (!pMese)
		return;
	pMese->f_Rateo = m_TotaleDaRipartire * pMese->f_Percentuale / 100.0;
	if (!m_bPerTotale)
		if (const DataMon* pTrimestre = TrimestreDi(pMese->f_Mese))
			pMese->f_Rateo = *pTrimestre * pMese->f_Percentuale / 100.0;
	RicalcolaSommaPercentuali();
	m_bModificato = TRUE;
	UpdateDataView();
}

void Kvz_RipAssestamentoDoc::OnCalcola()
{
	Ripartisci();
}

void Kvz_RipAssestamentoDoc::SvuotaRighe()
{
	m_pDBT->RemoveAll(TRUE);
	RicalcolaSommaPercentuali();
	CreaMesi();
}

void Kvz_RipAssestamentoDoc::RiportaAlChiamante()
{
	if (!m_pChiamante)
		return;
	auto pArray = std::make_unique<Kvz_ArrayRipartizioniRiga>();
	for (int i = 0; i < m_pDBT->GetSize(); ++i)
	{
		auto* pCopia = new Kvz_TRipartizioniAssestamento;
		*pCopia = *m_pDBT->GetMese(i);
		pArray->Add(pCopia);
	}
	m_pChiamante->SetArrayRipartizioni(m_MeseChiamante, std::move(pArray));
	m_pChiamante->m_Modificato = TRUE;
}

void Kvz_RipAssestamentoDoc::OnConferma()
{
	Ripartisci();
	RicalcolaSommaPercentuali();
	if (m_pChiamante)
	{
		// Each month goes to the caller's row of the same month.
		Kvz_DBTRighePianoBase* pRighe = m_pChiamante->GetDBTRighe();
		for (int i = 0; i < m_pDBT->GetSize(); ++i)
		{
			const Kvz_TRipartizioniAssestamento* pMese = m_pDBT->GetMese(i);
			if (Kvz_TEnhPianoBaseRighe* pRiga = pRighe->GetRigaMese(pMese->f_Mese))
			{
				pRiga->f_TotaleAssestato = pMese->f_Rateo;
				pRiga->f_ImportoRateo = pRiga->f_TotaleAssestato - pRiga->f_SaldoContabile;
			}
		}
		m_pChiamante->RicalcolaTotali(pRighe->GetCurrentRowIdx());
	}
	UpdateDataView();
	RiportaAlChiamante();
	Chiudi(FALSE);
}

// ---- form --------------------------------------------------------------------------------------

void Kvz_RipAssestamentoEdit::Customize()
{
	auto* pRec = static_cast<Kvz_TRipartizioniAssestamento*>(GetDBT()->GetRecord());
	AddColumn(IDC_ASSEST_RIP_MESE, _T("Mese"), _T("Mese"), RUNTIME_CLASS(CIntStatic), pRec->f_Mese, 4);
	AddColumn(IDC_ASSEST_RIP_PERC, _T("Perc"), _T("Perc."), RUNTIME_CLASS(CPercEdit), pRec->f_Percentuale, 8);
	AddColumn(IDC_ASSEST_RIP_DATI, _T("Dati"), _T("Valori"), RUNTIME_CLASS(CMoneyEdit), pRec->f_Dati, 14);
	AddColumn(IDC_ASSEST_RIP_RATEO, _T("Rateo"), _T("Totale"), RUNTIME_CLASS(CMoneyStatic), pRec->f_Rateo, 14);
	EnableAddRow(FALSE);
	EnableInsertRow(FALSE);
	EnableDeleteRow(FALSE);
}

void Kvz_RipAssestamentoView::BuildDataControlLinks()
{
	auto* pDoc = static_cast<Kvz_RipAssestamentoDoc*>(GetDocument());
	AddLink(IDC_ASSEST_RIP_TOT_PERC, _T("Totale percentuali"), RUNTIME_CLASS(CPercStatic), &pDoc->m_SommaPercentuali);
	AddLink(IDC_ASSEST_RIP_TOT_ASSESTAMENTO, _T("Totale assestamento"), RUNTIME_CLASS(CMoneyEdit),
			&pDoc->m_TotaleDaRipartire);
	for (int q = 0; q < 4; ++q)
		AddLink(IDC_ASSEST_RIP_TOT_TRIM_1 + q, CString::Formatted("ASSEST_RIP_TOT_TRIM_%d", q + 1), RUNTIME_CLASS(CMoneyStatic),
				&pDoc->m_Trimestri[static_cast<size_t>(q)]);
	AddLink(IDC_ASSEST_RIP_GRID, _T("Ripartizioni assestamento"), RUNTIME_CLASS(Kvz_RipAssestamentoEdit), pDoc->GetDBT());
	AddLink(IDC_ASSEST_RIP_DELETE_ALL, _T("&Cancella tutto"), RUNTIME_CLASS(CExtButton), &pDoc->m_bEditabile);
	AddLink(IDC_ASSEST_RIP_OK, _T("Aggio&rna"), RUNTIME_CLASS(CExtButton), &pDoc->m_bEditabile);
	AddButton(IDC_ASSEST_RIP_CALCOLA, _T("Calcola % e ratei"));
	AddButton(IDC_ASSEST_RIP_ANNULLA, _T("&Annulla"));
	pDoc->RiempiDBT();
}
