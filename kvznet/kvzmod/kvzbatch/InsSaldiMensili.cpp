#include "kvznet/kvzmod/kvzbatch/InsSaldiMensili.h"

#include <set>
#include <string>
#include <tuple>

#include "kvznet/kvzmod/kvzcomponents/Kvz_NuovoPianoBase.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/FormatHelpers.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvgenlib/CParsedCtrl.h"
#include "platform/plvnamesolver/ApplicationContext.h"

using FormatHelpers::RoundDecimals;

namespace {
const char* const kSource = "InsSaldiMensili";

// Ledger types (the host's) that the totals add up.
enum : WORD
{
	NATURA_ATTIVITA = 0,
	NATURA_PASSIVITA = 1,
	NATURA_COSTI = 3,
	NATURA_RICAVI = 4,
};

BOOL MeseValido(int nMese)
{
	return nMese >= 1 && nMese <= 12;
}

// The head and month row of a base plan, read with the rows they belong to: the first head of
// the year, account, centre/job and kind, and its row of the month. One statement for the whole
// grid, instead of two lookups per row. strCdc and strTipo are the outer table's columns, or "?"
// (the caller then binds them before the month).
void SelezionaSaldoDelMese(SqlTable& t, const CString& strTabella, const CString& strCdc, const CString& strTipo,
						   DataLng& idPBase, DataMon& saldo)
{
	const CString testa = CString::Formatted(
		"SELECT MIN(t.IDPianoBase) FROM %s t WHERE t.Esercizio = %s.Esercizio AND t.ContoKvz = %s.ContoKvz AND "
		"t.CentroCommessa = %s AND t.TipoCentroComm = %s",
		Kvz_TPianoBaseTesta::GetStaticName(), strTabella.GetString(), strTabella.GetString(), strCdc.GetString(),
		strTipo.GetString());
	t.SelectSqlFun("(" + testa + ")", idPBase);
	t.SelectSqlFun(CString::Formatted("(SELECT r.SaldoContabile FROM %s r WHERE r.Mese = ? AND r.IDPianoBase = (%s))",
									  Kvz_TPianoBaseRighe::GetStaticName(), testa.GetString()),
				   saldo);
}

// A head that the statement did not find reads as -1.
void SenzaTesta(DataLng& idPBase)
{
	if (static_cast<long>(idPBase) <= 0)
		idPBase = -1L;
}
}  // namespace

// ---- buffers -----------------------------------------------------------------------------------

Kvz_DBTSelContiInsSaldi::Kvz_DBTSelContiInsSaldi(CAbstractFormDoc* pDocument)
	: DBTSlaveBuffered(Kvz_TEnhAnagContiKvz::GetThisClass(), pDocument, _T("DBTSelContiInsSaldi"), TRUE, FALSE)
{
}

Kvz_DBTSelezCdcCommInsSaldi::Kvz_DBTSelezCdcCommInsSaldi(CAbstractFormDoc* pDocument)
	: DBTSlaveBuffered(Kvz_TEnhCentriCommesseContiKvz::GetThisClass(), pDocument, _T("DBTSelezCdcCommInsSaldi"), TRUE,
					   FALSE)
{
}

// ---- document ----------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(Kvz_CInsSaldiMensiliDoc, CAbstractFormDoc)
	ON_BEN_ROW_CHANGED(IDC_INS_SAL_GRID_CONTI, OnContoChanged)
	ON_BEN_ROW_CHANGED(IDC_INS_SAL_GRID_CENTRI, OnCentroChanged)
	ON_BN_CLICKED(IDC_INS_SAL_ANNO_PREC, OnAnnoPrec)
	ON_BN_CLICKED(IDC_INS_SAL_ANNO_SUCC, OnAnnoSucc)
	ON_EN_VALUE_CHANGED(IDC_INS_SAL_ANNO, OnAnnoChanged)
	ON_EN_VALUE_CHANGED(IDC_INS_SAL_MESE, OnMeseChanged)
	ON_BN_CLICKED(IDC_INS_SAL_INTERROGA, OnInterroga)
	ON_EN_VALUE_CHANGED(IDC_INS_SAL_CONTI_SALDO, OnSaldoContoChanged)
	ON_EN_VALUE_CHANGED(IDC_INS_SAL_CENTRI_SALDO, OnSaldoCentroChanged)
	ON_EN_VALUE_CHANGED(IDC_INS_SAL_CENTRI_PERC, OnPercCentroChanged)
	ON_EN_VALUE_CHANGED(IDC_INS_SAL_CENTRI_NOTA, OnNotaCentroChanged)
	ON_BN_CLICKED(IDC_INS_SAL_SALVA, OnSalva)
END_MESSAGE_MAP()

Kvz_CInsSaldiMensiliDoc::Kvz_CInsSaldiMensiliDoc()
	: m_Anno(AfxGetApplicationDate().Year()),
	  m_Mese(AfxGetApplicationDate().Month()),
	  m_AnnoSalvato(AfxGetApplicationDate().Year()),
	  m_MeseSalvato(AfxGetApplicationDate().Month()),
	  m_Economici(TRUE),
	  m_Patrimoniali(FALSE),
	  m_TuttiTipi(FALSE),
	  m_TuttiConti(TRUE),
	  m_SoloManuali(FALSE),
	  m_Modificato(FALSE),
	  m_Forzatura(TRUE),
	  m_TRPianoBaseTesta(this),
	  m_pIdMng(std::make_unique<Kvz_IDManager>(DataEnum(E_KVZ_SPECIEARCHIVIO, 0), this)),
	  m_pNumMng(std::make_unique<Kvz_NumNonFiscManager>(DataEnum(E_KVZ_TIPODOCUMENTO, 0), this))
{
	for (DataMon* p : {&m_TotCosti, &m_TotRicavi, &m_DeltaCostiRicavi, &m_TotAttivita, &m_TotPassivita, &m_DeltaAttPass,
					   &m_TotConto, &m_TotCommesse, &m_DeltaCommesse, &m_TotCentri, &m_DeltaCentri})
		p->SetReadOnly(TRUE);
}

Kvz_CInsSaldiMensiliDoc::~Kvz_CInsSaldiMensiliDoc() = default;

BOOL Kvz_CInsSaldiMensiliDoc::OnAttachData()
{
	SetFormTitle(_T("Inserimento saldi mensili"));
	m_pDBTConti = std::make_unique<Kvz_DBTSelContiInsSaldi>(this);
	m_pDBTCentri = std::make_unique<Kvz_DBTSelezCdcCommInsSaldi>(this);
	return TRUE;
}

int Kvz_CInsSaldiMensiliDoc::ContoCorrente() const
{
	if (m_pDBTConti->GetSize() == 0)
		return -1;
	const int n = m_pDBTConti->GetCurrentRowIdx();
	return n >= 0 && n < m_pDBTConti->GetSize() ? n : 0;
}

double Kvz_CInsSaldiMensiliDoc::QuotaPercentuale(double dImporto, double dPerc)
{
	return RoundDecimals(dImporto * dPerc / 100.0, 2);
}

void Kvz_CInsSaldiMensiliDoc::RiempiDBTConti()
{
	BeginWaitCursor();
	m_pDBTCentri->RemoveAll(TRUE);
	m_pDBTConti->RemoveAll(TRUE);
	m_Cache.clear();
	Kvz_TEnhAnagContiKvz rec;
	SqlTable t(&rec, GetReadOnlySqlSession(), this);
	try
	{
		t.Open(FALSE);
		t.SelectAll();
		SelezionaSaldoDelMese(t, Kvz_TAnagContiKvz::GetStaticName(), "?", "?", rec.l_IDPianoBase, rec.l_SaldoDelMese);
		// The account's own plan: no centre, kind item 0; once for the head, once for the month row.
		const DataStr nessunCdc;
		const DataEnum tipoConto(E_KVZ_TIPOCENTROCOMM, 0);
		t.AddParam("c1", nessunCdc);
		t.AddParam("t1", tipoConto);
		t.AddParam("p10", m_Mese);
		t.AddParam("c2", nessunCdc);
		t.AddParam("t2", tipoConto);
		for (LPCTSTR p : {"c1", "c2"})
			t.SetParamValue(p, nessunCdc);
		for (LPCTSTR p : {"t1", "t2"})
			t.SetParamValue(p, tipoConto);
		t.SetParamValue("p10", m_Mese);
		t.AddParam("p1", rec.f_Esercizio);
		t.AddFilterColumn(rec.f_Esercizio);
		t.SetParamValue("p1", m_Anno);
		if (!m_TuttiTipi)
		{
			t.AddParam("p5", rec.f_TipoConto);
			t.AddFilterColumn(rec.f_TipoConto);
			t.SetParamValue("p5", DataEnum(E_TIPOCONTO, m_Economici ? 0 : 1));
		}
		if (m_SoloManuali)
		{
			t.AddParam("p6", rec.f_InseritoManualmente);
			t.AddFilterColumn(rec.f_InseritoManualmente);
			t.SetParamValue("p6", DataBool(TRUE));
		}
		t.AddSortColumn(rec.f_ContoKvz);
		for (t.Query(); !t.IsEOF(); t.MoveNext())
		{
			auto* pRiga = static_cast<Kvz_TEnhAnagContiKvz*>(m_pDBTConti->AddRecord());
			*pRiga = rec;
			SenzaTesta(pRiga->l_IDPianoBase);
			pRiga->l_Modified = FALSE;
			m_Cache.emplace_back();
		}
		t.Close();
	}
	catch (const SqlException& e)
	{
		ASSERT_RELEASE_TRACE(e.IsKindOf(RUNTIME_CLASS(SqlException)), "Kvz_CInsSaldiMensiliDoc::RiempiDBTConti",
							 kSource);
		if (t.IsOpen())
			t.Close();
		e.ShowError();
	}
	m_AnnoSalvato = m_Anno;
	m_MeseSalvato = m_Mese;
	if (m_pDBTConti->GetSize() > 0)
	{
		m_pDBTConti->SetCurrentRow(0);
		if (m_pGridConti)
			m_pGridConti->SetCurrRecord(0);
		RiempiDBTCentriComm();
	}
	CalcolaQuadratura();
	CalcolaTotaliConti();
	EndWaitCursor();
	UpdateDataView();
}

void Kvz_CInsSaldiMensiliDoc::RiempiDBTCentriComm()
{
	m_pDBTCentri->RemoveAll(TRUE);
	const int nConto = ContoCorrente();
	if (nConto < 0)
		return;
	const Kvz_TEnhAnagContiKvz* pConto = m_pDBTConti->GetConto(nConto);
	Kvz_SaldiCdcComm& cache = m_Cache[static_cast<size_t>(nConto)];
	if (!cache.empty())
	{
		for (const auto& pCdc : cache)
			*static_cast<Kvz_TEnhCentriCommesseContiKvz*>(m_pDBTCentri->AddRecord()) = *pCdc;
	}
	else
	{
		Kvz_TEnhCentriCommesseContiKvz rec;
		SqlTable t(&rec, GetReadOnlySqlSession(), this);
		try
		{
			t.Open(FALSE);
			t.SelectAll();
			const CString tabella = Kvz_TCentriCommesseContiKvz::GetStaticName();
			SelezionaSaldoDelMese(t, tabella, tabella + ".CentroCommessa", tabella + ".Tipo", rec.l_IDPianoBase,
								  rec.l_SaldoDelMese);
			t.AddParam("p10", m_Mese);
			t.SetParamValue("p10", m_Mese);
			t.AddParam("p1", rec.f_Esercizio);
			t.AddFilterColumn(rec.f_Esercizio);
			t.SetParamValue("p1", m_Anno);
			t.AddParam("p3", rec.f_ContoKvz);
			t.AddFilterColumn(rec.f_ContoKvz);
			t.SetParamValue("p3", pConto->f_ContoKvz);
			t.AddSortColumn(rec.f_CentroCommessa);
			const DataPerc perc;
			for (t.Query(); !t.IsEOF(); t.MoveNext())
			{
				auto* pRiga = static_cast<Kvz_TEnhCentriCommesseContiKvz*>(m_pDBTCentri->AddRecord());
				*pRiga = rec;
				SenzaTesta(pRiga->l_IDPianoBase);
				pRiga->l_Modified = FALSE;
				// Without a plan of its own, a split shows its share of the account's balance.
				if (static_cast<long>(pRiga->l_IDPianoBase) == -1 && pRiga->f_PercRipartizione > 0.0 &&
					!perc.IsZero(pRiga->f_PercRipartizione))
					pRiga->l_SaldoDelMese = QuotaPercentuale(pConto->l_SaldoDelMese, pRiga->f_PercRipartizione);
				cache.push_back(std::make_unique<Kvz_TEnhCentriCommesseContiKvz>(*pRiga));
			}
			t.Close();
		}
		catch (const SqlException& e)
		{
			ASSERT_RELEASE_TRACE(e.IsKindOf(RUNTIME_CLASS(SqlException)), "Kvz_CInsSaldiMensiliDoc::RiempiDBTCentriComm",
								 kSource);
			if (t.IsOpen())
				t.Close();
			e.ShowError();
		}
	}
	if (m_pDBTCentri->GetSize() > 0)
	{
		m_pDBTCentri->SetCurrentRow(0);
		if (m_pGridCentri)
			m_pGridCentri->SetCurrRecord(0);
	}
	UpdateDataView();
}

void Kvz_CInsSaldiMensiliDoc::CalcolaTotaliConti()
{
	// The grid holds every level of the grouping and a parent's balance is its leaves' again:
	// only the rows without a child in the grid are added.
	std::set<std::string> padri;
	for (int i = 0; i < m_pDBTConti->GetSize(); ++i)
	{
		const CString& padre = m_pDBTConti->GetConto(i)->f_ContoKvzPadre.GetString();
		if (!padre.IsEmpty())
			padri.insert(padre.str());
	}
	double costi = 0.0, ricavi = 0.0, attivita = 0.0, passivita = 0.0;
	for (int i = 0; i < m_pDBTConti->GetSize(); ++i)
	{
		const Kvz_TEnhAnagContiKvz* pConto = m_pDBTConti->GetConto(i);
		if (padri.count(pConto->f_ContoKvz.GetString().str()))
			continue;
		const double saldo = pConto->l_SaldoDelMese;
		switch (pConto->f_TipoMastro.GetItemValue())
		{
		case NATURA_COSTI:
			costi += saldo;
			break;
		case NATURA_RICAVI:
			ricavi += saldo;
			break;
		case NATURA_ATTIVITA:
			attivita += saldo;
			break;
		case NATURA_PASSIVITA:
			passivita += saldo;
			break;
		default:
			break;
		}
	}
	m_TotCosti = costi;
	m_TotRicavi = ricavi;
	m_DeltaCostiRicavi = ricavi - costi;
	m_TotAttivita = attivita;
	m_TotPassivita = passivita;
	m_DeltaAttPass = attivita - passivita;
}

void Kvz_CInsSaldiMensiliDoc::CalcolaQuadratura()
{
	const int nConto = ContoCorrente();
	const double conto = nConto < 0 ? 0.0 : static_cast<double>(m_pDBTConti->GetConto(nConto)->l_SaldoDelMese);
	double centri = 0.0, commesse = 0.0;
	for (int i = 0; i < m_pDBTCentri->GetSize(); ++i)
	{
		const Kvz_TEnhCentriCommesseContiKvz* pCdc = m_pDBTCentri->GetCdcComm(i);
		(pCdc->f_Tipo.GetItemValue() == 0 ? centri : commesse) += pCdc->l_SaldoDelMese;
	}
	m_TotConto = conto;
	m_TotCentri = centri;
	m_TotCommesse = commesse;
	m_DeltaCommesse = conto - commesse;
	m_DeltaCentri = conto - centri;
}

void Kvz_CInsSaldiMensiliDoc::MemorizzaCentro(int nRiga)
{
	const int nConto = ContoCorrente();
	Kvz_TEnhCentriCommesseContiKvz* pRiga = m_pDBTCentri->GetCdcComm(nRiga);
	if (nConto < 0 || !pRiga)
		return;
	pRiga->l_Modified = TRUE;
	Kvz_SaldiCdcComm& cache = m_Cache[static_cast<size_t>(nConto)];
	// The grid was filled from the entry, or the entry from the grid: same rows, same order.
	if (static_cast<size_t>(nRiga) < cache.size())
		*cache[static_cast<size_t>(nRiga)] = *pRiga;
}

void Kvz_CInsSaldiMensiliDoc::OnContoChanged()
{
	RiempiDBTCentriComm();
	CalcolaQuadratura();
	UpdateDataView();
}

void Kvz_CInsSaldiMensiliDoc::OnCentroChanged()
{
	UpdateDataView();
}

void Kvz_CInsSaldiMensiliDoc::OnSaldoContoChanged()
{
	const int nConto = ContoCorrente();
	if (nConto < 0)
		return;
	Kvz_TEnhAnagContiKvz* pConto = m_pDBTConti->GetConto(nConto);
	pConto->l_Modified = TRUE;
	const DataPerc perc;
	for (int i = 0; i < m_pDBTCentri->GetSize(); ++i)
	{
		Kvz_TEnhCentriCommesseContiKvz* pCdc = m_pDBTCentri->GetCdcComm(i);
		if (pCdc->f_PercRipartizione > 0.0 && !perc.IsZero(pCdc->f_PercRipartizione))
			pCdc->l_SaldoDelMese = QuotaPercentuale(pConto->l_SaldoDelMese, pCdc->f_PercRipartizione);
		MemorizzaCentro(i);
	}
	CalcolaTotaliConti();
	CalcolaQuadratura();
	m_Modificato = TRUE;
	UpdateDataView();
}

void Kvz_CInsSaldiMensiliDoc::OnSaldoCentroChanged()
{
	const int nRiga = m_pDBTCentri->GetCurrentRowIdx();
	if (nRiga < 0)
		return;
	MemorizzaCentro(nRiga);
	CalcolaQuadratura();
	m_Modificato = TRUE;
	UpdateDataView();
}

void Kvz_CInsSaldiMensiliDoc::AggiornaCentro(BOOL bPerc)
{
	const int nRiga = m_pDBTCentri->GetCurrentRowIdx();
	Kvz_TEnhCentriCommesseContiKvz* pCdc = m_pDBTCentri->GetCdcComm(nRiga);
	if (!pCdc)
		return;
	try
	{
		Kvz_TUCentriCommesseContiKvz upd(this, GetMessages());
		upd.SetSqlSession(GetUpdatableSqlSession());
		upd.SetAutocommit(TRUE);
		if (upd.FindRecord(pCdc->f_Esercizio, pCdc->f_ContoKvz, pCdc->f_CentroCommessa, pCdc->f_Tipo, FALSE) ==
			TableReader::FOUND)
		{
			if (bPerc)
				upd.GetRecord()->f_PercRipartizione = pCdc->f_PercRipartizione;
			else
				upd.GetRecord()->f_Nota = pCdc->f_Nota;
			if (!upd.UpdateRecord())
				throw SqlException(CString::Formatted("Il centro/commessa %s del conto %s non è stato aggiornato.",
													  pCdc->f_CentroCommessa.GetString().GetString(),
													  pCdc->f_ContoKvz.GetString().GetString()));
		}
	}
	catch (const SqlException& e)
	{
		ASSERT_RELEASE_TRACE(e.IsKindOf(RUNTIME_CLASS(SqlException)), "Kvz_CInsSaldiMensiliDoc::AggiornaCentro", kSource);
		e.ShowError();
	}
	MemorizzaCentro(nRiga);
	UpdateDataView();
}

void Kvz_CInsSaldiMensiliDoc::OnPercCentroChanged()
{
	AggiornaCentro(TRUE);
}

void Kvz_CInsSaldiMensiliDoc::OnNotaCentroChanged()
{
	AggiornaCentro(FALSE);
}

BOOL Kvz_CInsSaldiMensiliDoc::ChiediSalvataggio()
{
	if (!m_Modificato)
		return TRUE;
	switch (AfxMessageBox(_T("Modifiche non ancora salvate. Le salvo?"), MB_YESNOCANCEL | MB_ICONQUESTION))
	{
	case IDYES:
		// A save that failed keeps the grids: what was typed is not thrown away by a refill.
		return SalvaSaldi();
	case IDNO:
		return TRUE;
	default:
		return FALSE;
	}
}

BOOL Kvz_CInsSaldiMensiliDoc::SaveModified()
{
	if (!ChiediSalvataggio())
		return FALSE;
	return CAbstractFormDoc::SaveModified();
}

// A refill needs a valid month: one refused as it was typed stays refused until corrected.
BOOL Kvz_CInsSaldiMensiliDoc::MeseDaMostrare()
{
	if (MeseValido(m_Mese))
		return TRUE;
	AfxMessageBox(_T("Il mese indicato non e' valido."));
	SetCtrlFocus(IDC_INS_SAL_MESE);
	return FALSE;
}

void Kvz_CInsSaldiMensiliDoc::CambiaAnno(int nDelta)
{
	if (!MeseDaMostrare() || !ChiediSalvataggio())
		return;
	m_Anno = static_cast<int>(m_Anno) + nDelta;
	m_AnnoSalvato = m_Anno;
	RiempiDBTConti();
}

void Kvz_CInsSaldiMensiliDoc::OnAnnoPrec()
{
	CambiaAnno(-1);
}

void Kvz_CInsSaldiMensiliDoc::OnAnnoSucc()
{
	CambiaAnno(+1);
}

void Kvz_CInsSaldiMensiliDoc::OnAnnoChanged()
{
	const DataObj* pOld = AfxGetOldCtrlData();
	if (!MeseDaMostrare())
	{
		// The grid still shows the year it had: so does the control.
		if (pOld)
			m_Anno.Assign(*pOld);
		UpdateDataView();
		return;
	}
	// The balances were typed for the year the grid shows: a save asked for now writes there.
	if (pOld)
		m_AnnoSalvato.Assign(*pOld);
	if (ChiediSalvataggio())
	{
		m_AnnoSalvato = m_Anno;
		RiempiDBTConti();
	}
	else if (pOld)
		m_Anno.Assign(*pOld);
	UpdateDataView();
}

void Kvz_CInsSaldiMensiliDoc::OnMeseChanged()
{
	if (!MeseDaMostrare())
		return;
	const DataObj* pOld = AfxGetOldCtrlData();
	if (pOld && MeseValido(static_cast<const DataInt&>(*pOld)))
		m_MeseSalvato.Assign(*pOld);
	if (ChiediSalvataggio())
	{
		m_MeseSalvato = m_Mese;
		RiempiDBTConti();
	}
	else if (pOld)
		m_Mese.Assign(*pOld);
	UpdateDataView();
}

void Kvz_CInsSaldiMensiliDoc::OnInterroga()
{
	if (MeseDaMostrare() && ChiediSalvataggio())
		RiempiDBTConti();
}

void Kvz_CInsSaldiMensiliDoc::OnSalva()
{
	SalvaSaldi();
	UpdateDataView();
}

// ---- writing the base plan ---------------------------------------------------------------------

void Kvz_CInsSaldiMensiliDoc::CalcolaRateoMese(const Kvz_TPianoBaseTesta& testa, Kvz_TPianoBaseRighe& riga)
{
	double quota = 0.0;
	const BOOL bPerTotale = testa.f_AssestPerTotale;
	const DataMon mon;
	switch (testa.f_TipoRipartizAssestamenti.GetItemValue())
	{
	case 0:
	{
		const double base = bPerTotale ? static_cast<double>(testa.f_TotGeneraleAssestati)
									   : static_cast<double>(testa.f_TotGeneraleRatei);
		if (mon.IsZero(base))
			return;
		quota = RoundDecimals(base / 12.0, 2);
		break;
	}
	case 1:
	{
		const int nMese = riga.f_Mese;
		if (!MeseValido(nMese))
			return;
		const int q = (nMese - 1) / 3;
		const DataMon* assestati[] = {&testa.f_TotAssestatiTrimestre1, &testa.f_TotAssestatiTrimestre2,
									  &testa.f_TotAssestatiTrimestre3, &testa.f_TotAssestatiTrimestre4};
		const DataMon* ratei[] = {&testa.f_TotRateiTrimestre1, &testa.f_TotRateiTrimestre2,
								  &testa.f_TotRateiTrimestre3, &testa.f_TotRateiTrimestre4};
		const double base = bPerTotale ? static_cast<double>(*assestati[q]) : static_cast<double>(*ratei[q]);
		if (mon.IsZero(base))
			return;
		quota = RoundDecimals(base / 3.0, 2);
		break;
	}
	default:
		break;
	}
	if (bPerTotale)
	{
		riga.f_TotaleAssestato = quota;
		riga.f_ImportoRateo = RoundDecimals(quota - riga.f_SaldoContabile, 2);
	}
	else
	{
		riga.f_ImportoRateo = quota;
		riga.f_TotaleAssestato = RoundDecimals(riga.f_SaldoContabile + quota, 2);
	}
}

BOOL Kvz_CInsSaldiMensiliDoc::LeggiTesta(const DataLng& id)
{
	return m_TRPianoBaseTesta.FindRecord(id) == TableReader::FOUND;
}

// Codes compare without regard to case, as the database compares them.
Kvz_CInsSaldiMensiliDoc::ChiaveTesta Kvz_CInsSaldiMensiliDoc::Chiave(const DataStr& conto, const DataStr& cdc,
																	const DataEnum& tipo)
{
	CString c = conto.GetString(), k = cdc.GetString();
	c.MakeUpper();
	k.MakeUpper();
	return {c.str(), k.str(), tipo.GetItemValue()};
}

long Kvz_CInsSaldiMensiliDoc::CercaTestaSalvata(const DataStr& conto, const DataStr& cdc, const DataEnum& tipo)
{
	const auto [it, bNuova] = m_TesteCercate.try_emplace(Chiave(conto, cdc, tipo), -1L);
	if (!bNuova)
		return it->second;
	SqlTable& t = *m_pTblCerca;
	t.SetParamValue("p8", m_AnnoSalvato);
	t.SetParamValue("p3", conto);
	t.SetParamValue("p7", cdc);
	t.SetParamValue("p11", tipo);
	t.Query();
	if (!t.IsEOF())
		it->second = static_cast<long>(m_RecCerca.f_IDPianoBase);
	return it->second;
}

BOOL Kvz_CInsSaldiMensiliDoc::AggiornaPianoBase(const Kvz_TEnhAnagContiKvz& conto, Kvz_TEnhCentriCommesseContiKvz* pCdc,
												DataLng& idPBase, const DataMon& saldo)
{
	const DataStr cdc = pCdc ? pCdc->f_CentroCommessa : DataStr();
	const DataEnum tipo(E_KVZ_TIPOCENTROCOMM, pCdc ? pCdc->f_Tipo.GetItemValue() : 0);
	DataLng id = idPBase;
	BOOL bNuova = FALSE;
	if (static_cast<long>(id) <= 0)
	{
		// A head made since the grid was filled (by another user, or an earlier save of another
		// period) is taken as it is, so that its months are filled too.
		const long trovato = CercaTestaSalvata(conto.f_ContoKvz, cdc, tipo);
		if (trovato > 0)
			id = trovato;
		else
		{
			Kvz_TPianoBaseTesta& testa = m_RecPBaseTesta;
			testa.Init();
			// Without an id and a number the head is not written: the balance stays to be saved.
			const BOOL bNumerata = m_pNumeri ? m_pNumeri->Numera(testa, AfxGetApplicationDate())
											 : Kvz_NumeraNuovoPianoBase(testa, AfxGetApplicationDate(), *m_pIdMng, *m_pNumMng);
			if (!bNumerata ||
				static_cast<long>(testa.f_IDPianoBase) <= 0)
			{
				++m_nNonScritti;
				GetMessages()->Add(
					CString::Formatted("Il piano base del conto %s%s%s non è stato creato: nessun identificativo o numero "
									   "disponibile. Il saldo resta da salvare.",
									   conto.f_ContoKvz.GetString().GetString(), pCdc ? " centro/commessa " : "",
									   cdc.GetString().GetString()),
					CMessages::MSG_ERROR);
				return FALSE;
			}
			Kvz_ChiaviTestaPianoBase(testa, m_AnnoSalvato, conto.f_ContoKvz, cdc, tipo);
			m_pTblTesta->AddNew(FALSE);
			m_pTblTesta->Update();
			id = testa.f_IDPianoBase;
			m_TesteCercate[Chiave(conto.f_ContoKvz, cdc, tipo)] = static_cast<long>(id);
			bNuova = TRUE;
		}
		idPBase = id;
	}
	AggiornaRigaPianoBase(id, saldo, conto, cdc, tipo);
	RiempiBuchiDelPianoBase(id, bNuova);
	return TRUE;
}

void Kvz_CInsSaldiMensiliDoc::AggiornaRigaPianoBase(const DataLng& id, const DataMon& saldo,
													const Kvz_TEnhAnagContiKvz& conto, const DataStr& cdc,
													const DataEnum& tipo)
{
	SqlTable& t = *m_pTblRighe;
	Kvz_TEnhPianoBaseRighe& riga = m_RecPBaseRighe;
	t.SetParamValue("p9", id);
	t.SetParamValue("p10", m_MeseSalvato);
	t.Query();
	if (t.IsEOF())
	{
		t.AddNew();
		Kvz_PreparaRigaPianoBase(riga, id, m_MeseSalvato, m_AnnoSalvato, conto.f_ContoKvz, cdc, tipo,
								 conto.f_TipoMastro);
	}
	else
		t.Edit();
	riga.f_SaldoContabile = saldo;
	if (riga.f_ImportoRateo.IsEmpty() && LeggiTesta(id))
		CalcolaRateoMese(*m_TRPianoBaseTesta.GetRecord(), riga);
	riga.f_TotaleAssestato = RoundDecimals(riga.f_SaldoContabile + riga.f_ImportoRateo, 2);
	t.Update();
}

void Kvz_CInsSaldiMensiliDoc::RiempiBuchiDelPianoBase(const DataLng& id, BOOL bNuova)
{
	if (static_cast<long>(id) <= 0 || !LeggiTesta(id))
		return;
	ASSERT_RELEASE_TRACE(m_RecPBaseRighe.f_IDPianoBase == id, "Kvz_CInsSaldiMensiliDoc::RiempiBuchiDelPianoBase",
						 kSource);
	SqlTable& t = *m_pTblMesi;
	t.SetParamValue("p9", id);
	std::set<int> presenti;
	if (bNuova)
		presenti.insert(m_MeseSalvato);
	else
		for (t.Query(); !t.IsEOF(); t.MoveNext())
			presenti.insert(m_RecMese.f_Mese);
	const Kvz_TPianoBaseRighe& modello = m_RecPBaseRighe;
	for (int m = 1; m <= 12; ++m)
	{
		if (presenti.count(m))
			continue;
		Kvz_PreparaRigaPianoBase(m_RecMese, id, m, modello.f_Esercizio, modello.f_ContoKvz, modello.f_CentroCommessa,
								 modello.f_TipoCentroComm, modello.f_TipoMastro);
		CalcolaRateoMese(*m_TRPianoBaseTesta.GetRecord(), m_RecMese);
		t.AddNew(FALSE);
		t.Update();
	}
}

BOOL Kvz_CInsSaldiMensiliDoc::SalvaSaldi()
{
	if (!m_Modificato && !m_Forzatura)
		return TRUE;
	// The grid keeps the month it shows, but a month refused in the control saves nowhere: the
	// user means neither.
	if (!MeseDaMostrare())
		return FALSE;
	if (m_AnnoSalvato.IsEmpty())
		m_AnnoSalvato = m_Anno;
	if (m_MeseSalvato.IsEmpty())
		m_MeseSalvato = m_Mese;
	if (!MeseValido(m_MeseSalvato))
	{
		AfxMessageBox(_T("Il mese indicato non e' valido."));
		return FALSE;
	}
	CPLVContext* pContext = GetContext();
	// The whole save is one transaction: a failure writes nothing, a large year commits once.
	// Another user's batch (an import, a run) reads or writes the same balances: it goes first.
	if (pContext && pContext->StartTransaction() && !pContext->KeepOutOtherBatches())
		pContext->Rollback();
	if (!pContext || !pContext->IsInTransaction())
	{
		AfxMessageBox(pContext && pContext->IsBusy()
						  ? _T("L'azienda è occupata da un'elaborazione in corso di un altro utente: nessuna "
							   "modifica registrata, riprovare al suo termine.")
						  : _T("Non è possibile aprire una nuova transazione."));
		return FALSE;
	}
	BeginWaitCursor();
	SqlSession* pSession = GetUpdatableSqlSession();
	m_pTblTesta = std::make_unique<SqlTable>(&m_RecPBaseTesta, pSession, this);
	m_pTblRighe = std::make_unique<SqlTable>(&m_RecPBaseRighe, pSession, this);
	m_pTblMesi = std::make_unique<SqlTable>(&m_RecMese, pSession, this);
	m_pTblCerca = std::make_unique<SqlTable>(&m_RecCerca, pSession, this);
	m_TRPianoBaseTesta.SetSqlSession(pSession);
	m_nNonScritti = 0;
	m_TesteCercate.clear();

	// What the save changes in the grids, kept apart until the commit.
	struct Scritto
	{
		DataLng* pId;
		long idPrima;
		DataBool* pModificato;
		BOOL bScritto;
	};
	std::vector<Scritto> scritti;
	BOOL bOk = TRUE;
	try
	{
		m_pTblTesta->Open(TRUE);
		m_pTblRighe->Open(TRUE);
		m_pTblRighe->SelectAll();
		m_pTblRighe->AddParam("p9", m_RecPBaseRighe.f_IDPianoBase);
		m_pTblRighe->AddFilterColumn(m_RecPBaseRighe.f_IDPianoBase);
		m_pTblRighe->AddParam("p10", m_RecPBaseRighe.f_Mese);
		m_pTblRighe->AddFilterColumn(m_RecPBaseRighe.f_Mese);
		m_pTblCerca->Open(FALSE);
		m_pTblCerca->Select(m_RecCerca.f_IDPianoBase);
		m_pTblCerca->AddParam("p8", m_RecCerca.f_Esercizio);
		m_pTblCerca->AddFilterColumn(m_RecCerca.f_Esercizio);
		m_pTblCerca->AddParam("p3", m_RecCerca.f_ContoKvz);
		m_pTblCerca->AddFilterColumn(m_RecCerca.f_ContoKvz);
		m_pTblCerca->AddParam("p7", m_RecCerca.f_CentroCommessa);
		m_pTblCerca->AddFilterColumn(m_RecCerca.f_CentroCommessa);
		m_pTblCerca->AddParam("p11", m_RecCerca.f_TipoCentroComm);
		m_pTblCerca->AddFilterColumn(m_RecCerca.f_TipoCentroComm);
		// Among duplicate heads the lowest id, the one the grid shows.
		m_pTblCerca->AddSortColumn(m_RecCerca.f_IDPianoBase);
		m_pTblMesi->Open(TRUE);
		m_pTblMesi->Select(m_RecMese.f_Mese);
		m_pTblMesi->AddParam("p9", m_RecMese.f_IDPianoBase);
		m_pTblMesi->AddFilterColumn(m_RecMese.f_IDPianoBase);

		const int nConti = m_pDBTConti->GetSize();
		{
			// The heads the save will make, counted first so that their ids and numbers are taken
			// in one step of each counter.
			std::set<std::tuple<std::string, std::string, WORD>> nuove;
			auto conta = [&](const Kvz_TEnhAnagContiKvz& conto, const Kvz_TEnhCentriCommesseContiKvz* pCdc, long id) {
				const DataStr cdc = pCdc ? pCdc->f_CentroCommessa : DataStr();
				const DataEnum tipo(E_KVZ_TIPOCENTROCOMM, pCdc ? pCdc->f_Tipo.GetItemValue() : 0);
				if (id <= 0 && CercaTestaSalvata(conto.f_ContoKvz, cdc, tipo) <= 0)
					nuove.insert({conto.f_ContoKvz.GetString().str(), cdc.GetString().str(), tipo.GetItemValue()});
			};
			for (int i = 0; i < nConti; ++i)
			{
				const Kvz_TEnhAnagContiKvz* pConto = m_pDBTConti->GetConto(i);
				if (pConto->l_Modified || m_Forzatura)
					conta(*pConto, nullptr, pConto->l_IDPianoBase);
				for (auto& pCdc : m_Cache[static_cast<size_t>(i)])
					if (pCdc->l_Modified || m_Forzatura)
						conta(*pConto, pCdc.get(), pCdc->l_IDPianoBase);
			}
			m_pNumeri = std::make_unique<Kvz_NumeriPianoBase>(*m_pIdMng, *m_pNumMng);
			// When they cannot be taken at once, each head tries alone and says why it has none.
			if (!m_pNumeri->Prenota(static_cast<long>(nuove.size()), AfxGetApplicationDate()))
				m_pNumeri.reset();
		}
		for (int i = 0; i < nConti; ++i)
		{
			Kvz_TEnhAnagContiKvz* pConto = m_pDBTConti->GetConto(i);
			if (i % 100 == 0)
				SetProgressText(CString::Formatted("Salvataggio saldi: conto %d di %d ...", i + 1, nConti));
			if (pConto->l_Modified || m_Forzatura)
			{
				const long prima = pConto->l_IDPianoBase;
				const BOOL b = AggiornaPianoBase(*pConto, nullptr, pConto->l_IDPianoBase, pConto->l_SaldoDelMese);
				scritti.push_back({&pConto->l_IDPianoBase, prima, &pConto->l_Modified, b});
			}
			for (auto& pCdc : m_Cache[static_cast<size_t>(i)])
				if (pCdc->l_Modified || m_Forzatura)
				{
					const long prima = pCdc->l_IDPianoBase;
					const BOOL b = AggiornaPianoBase(*pConto, pCdc.get(), pCdc->l_IDPianoBase, pCdc->l_SaldoDelMese);
					scritti.push_back({&pCdc->l_IDPianoBase, prima, &pCdc->l_Modified, b});
				}
		}
		for (SqlTable* p : {m_pTblCerca.get(), m_pTblMesi.get(), m_pTblRighe.get(), m_pTblTesta.get()})
			p->Close();
		if (!pContext->Commit())
			throw SqlException(_T("La transazione non è stata confermata."));
	}
	catch (const SqlException& e)
	{
		ASSERT_RELEASE_TRACE(e.IsKindOf(RUNTIME_CLASS(SqlException)), "Kvz_CInsSaldiMensiliDoc::SalvaSaldi", kSource);
		for (SqlTable* p : {m_pTblCerca.get(), m_pTblMesi.get(), m_pTblRighe.get(), m_pTblTesta.get()})
			if (p->IsOpen())
				p->Close();
		pContext->Rollback();
		// Nothing was written: the rows keep the heads they had and stay to be saved.
		for (const Scritto& s : scritti)
			*s.pId = s.idPrima;
		e.ShowError();
		AfxMessageBox(_T("Saldi non salvati: nessuna modifica registrata."));
		bOk = FALSE;
	}
	m_pNumeri.reset();
	m_TesteCercate.clear();
	m_pTblCerca.reset();
	m_pTblMesi.reset();
	m_pTblRighe.reset();
	m_pTblTesta.reset();
	m_TRPianoBaseTesta.SetSqlSession(GetReadOnlySqlSession());
	if (bOk)
	{
		size_t nScritti = 0;
		for (const Scritto& s : scritti)
			if (s.bScritto)
			{
				*s.pModificato = FALSE;
				++nScritti;
			}
		m_Modificato = m_nNonScritti > 0;
		SetProgressText(CString::Formatted("Salvataggio saldi terminato: %zu saldi scritti%s.", nScritti,
										   m_nNonScritti > 0 ? CString::Formatted(", %d da salvare ancora", m_nNonScritti).GetString() : ""));
	}
	// The centres grid shows the current account's entry: its heads and flags as saved.
	const int nConto = ContoCorrente();
	if (nConto >= 0)
	{
		const Kvz_SaldiCdcComm& cache = m_Cache[static_cast<size_t>(nConto)];
		for (size_t k = 0; k < cache.size() && static_cast<int>(k) < m_pDBTCentri->GetSize(); ++k)
			*m_pDBTCentri->GetCdcComm(static_cast<int>(k)) = *cache[k];
	}
	EndWaitCursor();
	if (!GetMessages()->IsEmpty())
		GetMessages()->Show();
	UpdateDataView();
	return bOk && m_nNonScritti == 0;
}

// ---- form --------------------------------------------------------------------------------------

void Kvz_SelContiInsSaldiEdit::Customize()
{
	auto* pRec = static_cast<Kvz_TEnhAnagContiKvz*>(GetDBT()->GetRecord());
	AddColumn(IDC_INS_SAL_CONTI_NATURA, _T("NaturaConto"), _T("Natura conto"), RUNTIME_CLASS(CEnumStatic),
			  pRec->f_TipoMastro, 12);
	AddColumn(IDC_INS_SAL_CONTI_CONTO, _T("ContoKvz"), _T("Conto Kvz"), RUNTIME_CLASS(CStrStatic), pRec->f_ContoKvz,
			  11);
	AddColumn(IDC_INS_SAL_CONTI_DESCRIZIONE, _T("Descrizione"), _T("Descrizione"), RUNTIME_CLASS(CStrStatic),
			  pRec->f_Descrizione, 30);
	AddColumn(IDC_INS_SAL_CONTI_SALDO, _T("SaldoContabile"), _T("Saldo contabile"), RUNTIME_CLASS(CMoneyEdit),
			  pRec->l_SaldoDelMese, 15);
	EnableAddRow(FALSE);
	EnableInsertRow(FALSE);
	EnableDeleteRow(FALSE);
	SetMultipleLinesPerRow(TRUE);
}

void Kvz_SelezCdcCommInsSaldiEdit::Customize()
{
	auto* pRec = static_cast<Kvz_TEnhCentriCommesseContiKvz*>(GetDBT()->GetRecord());
	AddColumn(IDC_INS_SAL_CENTRI_TIPO, _T("Tipo"), _T("Tipo"), RUNTIME_CLASS(CEnumStatic), pRec->f_Tipo, 12);
	AddColumn(IDC_INS_SAL_CENTRI_CODICE, _T("CentroCommessa"), _T("Centro/Commessa"), RUNTIME_CLASS(CStrStatic),
			  pRec->f_CentroCommessa, 11);
	AddColumn(IDC_INS_SAL_CENTRI_DESCRIZIONE, _T("Descrizione"), _T("Descrizione"), RUNTIME_CLASS(CStrStatic),
			  pRec->f_Descrizione, 30);
	AddColumn(IDC_INS_SAL_CENTRI_PERC, _T("Ripartizione"), _T("% ripartizione"), RUNTIME_CLASS(CPercEdit),
			  pRec->f_PercRipartizione, 8);
	AddColumn(IDC_INS_SAL_CENTRI_SALDO, _T("SaldoContabile"), _T("Saldo contabile"), RUNTIME_CLASS(CMoneyEdit),
			  pRec->l_SaldoDelMese, 15);
	AddColumn(IDC_INS_SAL_CENTRI_NOTA, _T("Nota"), _T("Nota"), RUNTIME_CLASS(CStrEdit), pRec->f_Nota, 64);
	EnableAddRow(FALSE);
	EnableInsertRow(FALSE);
	EnableDeleteRow(FALSE);
	SetMultipleLinesPerRow(TRUE);
}

void Kvz_CInsSaldiMensiliView::BuildDataControlLinks()
{
	auto* pDoc = static_cast<Kvz_CInsSaldiMensiliDoc*>(GetDocument());
	AddButton(IDC_INS_SAL_ANNO_PREC, _T("<-"));
	AddLink(IDC_INS_SAL_ANNO, _T("INS_SAL_ANNO"), RUNTIME_CLASS(CIntEdit), &pDoc->m_Anno);
	pDoc->m_Anno.SetFieldRule(FieldRule::AnYear());
	AddButton(IDC_INS_SAL_ANNO_SUCC, _T("->"));
	AddLink(IDC_INS_SAL_MESE, _T("INS_SAL_MESE"), RUNTIME_CLASS(CIntEdit), &pDoc->m_Mese);
	// "Tipo conto"
	AddRadio(IDC_INS_SAL_TIPO_CONTO_ECON, _T("INS_SAL_TIPO_CONTO_ECON"), &pDoc->m_Economici, 1);
	AddRadio(IDC_INS_SAL_TIPO_CONTO_PATRIM, _T("INS_SAL_TIPO_CONTO_PATRIM"), &pDoc->m_Patrimoniali, 1);
	AddRadio(IDC_INS_SAL_TIPO_CONTO_TUTTI, _T("INS_SAL_TIPO_CONTO_TUTTI"), &pDoc->m_TuttiTipi, 1);
	// "Provenienza"
	AddRadio(IDC_INS_SAL_TUTTI, _T("INS_SAL_TUTTI"), &pDoc->m_TuttiConti, 2);
	AddRadio(IDC_INS_SAL_MANUALI, _T("INS_SAL_MANUALI"), &pDoc->m_SoloManuali, 2);
	AddButton(IDC_INS_SAL_INTERROGA, _T("&Interroga"));
	// "Totali"
	AddLink(IDC_INS_SAL_TOT_COSTI, _T("INS_SAL_TOT_COSTI"), RUNTIME_CLASS(CMoneyStatic), &pDoc->m_TotCosti);
	AddLink(IDC_INS_SAL_TOT_RICAVI, _T("INS_SAL_TOT_RICAVI"), RUNTIME_CLASS(CMoneyStatic), &pDoc->m_TotRicavi);
	AddLink(IDC_INS_SAL_DELTA_COSTI_RICAVI, _T("INS_SAL_DELTA_COSTI_RICAVI"), RUNTIME_CLASS(CMoneyStatic),
			&pDoc->m_DeltaCostiRicavi);
	AddLink(IDC_INS_SAL_TOT_ATTIVITA, _T("INS_SAL_TOT_ATTIVITA"), RUNTIME_CLASS(CMoneyStatic), &pDoc->m_TotAttivita);
	AddLink(IDC_INS_SAL_TOT_PASSIVITA, _T("INS_SAL_TOT_PASSIVITA"), RUNTIME_CLASS(CMoneyStatic),
			&pDoc->m_TotPassivita);
	AddLink(IDC_INS_SAL_DELTA_ATT_PASS, _T("INS_SAL_DELTA_ATT_PASS"), RUNTIME_CLASS(CMoneyStatic),
			&pDoc->m_DeltaAttPass);
	// "Quadratura"
	AddLink(IDC_INS_SAL_TOT_CONTO, _T("INS_SAL_TOT_CONTO"), RUNTIME_CLASS(CMoneyStatic), &pDoc->m_TotConto);
	AddLink(IDC_INS_SAL_TOT_COMMESSE, _T("INS_SAL_TOT_COMMESSE"), RUNTIME_CLASS(CMoneyStatic), &pDoc->m_TotCommesse);
	AddLink(IDC_INS_SAL_DELTA_COMMESSE, _T("INS_SAL_DELTA_COMMESSE"), RUNTIME_CLASS(CMoneyStatic),
			&pDoc->m_DeltaCommesse);
	AddLink(IDC_INS_SAL_TOT_CENTRI, _T("INS_SAL_TOT_CENTRI"), RUNTIME_CLASS(CMoneyStatic), &pDoc->m_TotCentri);
	AddLink(IDC_INS_SAL_DELTA_CENTRI, _T("INS_SAL_DELTA_CENTRI"), RUNTIME_CLASS(CMoneyStatic),
			&pDoc->m_DeltaCentri);
	AddLink(IDC_INS_SAL_FORZATURA, _T("Anche conti non modificati"), RUNTIME_CLASS(CBoolButton), &pDoc->m_Forzatura);
	AddButton(IDC_INS_SAL_SALVA, _T("&Salva"));
	auto* pConti = static_cast<Kvz_SelContiInsSaldiEdit*>(
		AddLink(IDC_INS_SAL_GRID_CONTI, _T("Conti"), RUNTIME_CLASS(Kvz_SelContiInsSaldiEdit), pDoc->GetDBTConti()));
	auto* pCentri = static_cast<Kvz_SelezCdcCommInsSaldiEdit*>(AddLink(IDC_INS_SAL_GRID_CENTRI, _T("Commesse/Centri"),
																	   RUNTIME_CLASS(Kvz_SelezCdcCommInsSaldiEdit),
																	   pDoc->GetDBTCentri()));
	pDoc->SetGrids(pConti, pCentri);
	SetLabels({{_T("INS_SAL_ANNO"), _T("Anno")},
			   {_T("INS_SAL_MESE"), _T("Mese")},
			   {_T("INS_SAL_TIPO_CONTO_ECON"), _T("Economici")},
			   {_T("INS_SAL_TIPO_CONTO_PATRIM"), _T("Patrimoniali")},
			   {_T("INS_SAL_TIPO_CONTO_TUTTI"), _T("Tutti i tipi")},
			   {_T("INS_SAL_TUTTI"), _T("Tutti i conti")},
			   {_T("INS_SAL_MANUALI"), _T("Solo inseriti a mano")},
			   {_T("INS_SAL_TOT_COSTI"), _T("Totale costi")},
			   {_T("INS_SAL_TOT_RICAVI"), _T("Totale ricavi")},
			   {_T("INS_SAL_DELTA_COSTI_RICAVI"), _T("Differenza ricavi e costi")},
			   {_T("INS_SAL_TOT_ATTIVITA"), _T("Totale attività")},
			   {_T("INS_SAL_TOT_PASSIVITA"), _T("Totale passività")},
			   {_T("INS_SAL_DELTA_ATT_PASS"), _T("Differenza attività e passività")},
			   {_T("INS_SAL_TOT_CONTO"), _T("Saldo del conto")},
			   {_T("INS_SAL_TOT_COMMESSE"), _T("Totale commesse")},
			   {_T("INS_SAL_DELTA_COMMESSE"), _T("Differenza conto e commesse")},
			   {_T("INS_SAL_TOT_CENTRI"), _T("Totale centri")},
			   {_T("INS_SAL_DELTA_CENTRI"), _T("Differenza conto e centri")}});
	pDoc->RiempiDBTConti();
}
