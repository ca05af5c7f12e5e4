#include "kvznet/kvzmod/kvzdocuments/riclassific/BDStampaRiclassificatoDoc.h"

#include <iterator>

#include "kvznet/kvzmod/kvzdbl/Kvz_TDescrizioniBrevi.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificato.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Progressivi.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/ReportRows.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvgenlib/CommandManager.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlException.h"
#include "platform/plvoledb/SqlTable.h"
#include "platform/plvrendoviewer/CRendoDoc.h"

namespace {
const char* const kSource = "BDStampaRiclassificatoDoc";
// Rows of this kind are no codes of a statement.
const WORD kTipoRigaEsclusa = 7;

enum : UINT
{
	IDC_STAMPA_RICL_TAB = 32700,
	IDC_STAMPA_RICL_STATO_ELAB,
	IDC_STAMPA_RICL_DAL_MODELLO,
	IDC_STAMPA_RICL_AL_MODELLO,
	IDC_STAMPA_RICL_FORMULA,
	IDC_STAMPA_RICL_DAL_ESERCIZIO,
	IDC_STAMPA_RICL_DAL_DAL_MESE,
	IDC_STAMPA_RICL_DAL_AL_MESE,
	IDC_STAMPA_PER_CODICE_NR_SEL,
	IDC_STAMPA_RICL_MODELLI,
	IDC_STAMPA_RICL_MODELLI_SEL,
	IDC_STAMPA_RICL_MODELLI_MODELLO,
	IDC_STAMPA_RICL_MODELLI_DESCRIZIONE,
	IDC_STAMPA_RICL_RIGHE,
	IDC_STAMPA_RICL_RIGHE_SEL,
	IDC_STAMPA_RICL_RIGHE_CODICE,
	IDC_STAMPA_RICL_RIGHE_DESCRIZIONE,
	IDC_STAMPA_RICL_RIGHE_DESCR_BREVE,
	IDC_STAMPA_RICL_CARICA_MODELLI,
	IDC_STAMPA_RICL_SEL_TUTTI,
	IDC_STAMPA_RICL_SEL_NESSUNO,
	IDC_STAMPA_RICL_STAMPA,
};

void ShowSqlError(const SqlException& e, const char* method)
{
	ASSERT_RELEASE_TRACE(e.IsKindOf(RUNTIME_CLASS(SqlException)), method, kSource);
	e.ShowError();
}
}  // namespace

BEGIN_MESSAGE_MAP(BDStampaRiclassificatoDoc, CAbstractFormDoc)
	ON_EN_VALUE_CHANGED(IDC_STAMPA_RICL_FORMULA, OnColonnaChanged)
	ON_EN_VALUE_CHANGED(IDC_STAMPA_RICL_DAL_ESERCIZIO, OnEsercizioChanged)
	ON_EN_VALUE_CHANGED(IDC_STAMPA_RICL_RIGHE_SEL, OnSelezionaRiga)
	ON_BN_CLICKED(IDC_STAMPA_RICL_CARICA_MODELLI, OnCaricaModelli)
	ON_BN_CLICKED(IDC_STAMPA_RICL_SEL_TUTTI, OnSelezionaTutti)
	ON_BN_CLICKED(IDC_STAMPA_RICL_SEL_NESSUNO, OnDeselezionaTutti)
	ON_BN_CLICKED(IDC_STAMPA_RICL_STAMPA, OnStampa)
END_MESSAGE_MAP()

Kvz_TRiclassificazioneRighe* DBTStampaRighe::GetCurrentRiga() const
{
	SqlRecord* p = GetCurrentRow();
	ASSERT_RELEASE_TRACE(!p || p->IsKindOf(RUNTIME_CLASS(Kvz_TRiclassificazioneRighe)), "DBTStampaRighe::GetCurrentRiga",
						 kSource);
	return static_cast<Kvz_TRiclassificazioneRighe*>(p);
}

BDStampaRiclassificatoDoc::BDStampaRiclassificatoDoc()
	: m_Colonna("0"),
	  m_Esercizio(AfxGetApplicationDate().Year()),
	  m_DalMese(1),
	  m_AlMese(AfxGetApplicationDate().Month()),
	  m_NrSelezionati(0)
{
	m_DalModello.SetUpperCase();
	m_AlModello.SetUpperCase();
	m_Colonna.SetUpperCase();
}

BDStampaRiclassificatoDoc::~BDStampaRiclassificatoDoc() = default;

BOOL BDStampaRiclassificatoDoc::OnAttachData()
{
	SetFormTitle(_T("Stampa riclassificato"));
	m_pDBTModelli = std::make_unique<DBTStampaModelli>(this);
	m_pDBTRighe = std::make_unique<DBTStampaRighe>(this);
	m_pHKLDalModello = new KVZ_HKLRiclassificazioneTesta;
	Attach(m_pHKLDalModello, _T("HKLDalModello"));
	m_pHKLAlModello = new KVZ_HKLRiclassificazioneTesta;
	Attach(m_pHKLAlModello, _T("HKLAlModello"));
	return TRUE;
}

BOOL BDStampaRiclassificatoDoc::ControllaColonna()
{
	if (kvzdocuments::ColonnaDaStampare(m_Colonna.GetString()).IsValid())
		return TRUE;
	AfxMessageBox(kvzdocuments::kColonnaErrata);
	SetCtrlFocus(IDC_STAMPA_RICL_FORMULA);
	return FALSE;
}

void BDStampaRiclassificatoDoc::OnColonnaChanged()
{
	ControllaColonna();
}

// The model lookups list the chosen year's models, so that a model of that year is accepted.
void BDStampaRiclassificatoDoc::OnEsercizioChanged()
{
	m_pHKLDalModello->SetSelEsercizio(m_Esercizio);
	m_pHKLAlModello->SetSelEsercizio(m_Esercizio);
}

void BDStampaRiclassificatoDoc::OnSelezionaRiga()
{
	const Kvz_TRiclassificazioneRighe* pRiga = m_pDBTRighe->GetCurrentRiga();
	if (!pRiga)
		return;
	m_NrSelezionati = m_NrSelezionati + (pRiga->l_Selezionata ? 1 : -1);
	UpdateDataView();
}

void BDStampaRiclassificatoDoc::OnCaricaModelli()
{
	RiempiDBTModelli();
}

void BDStampaRiclassificatoDoc::SelezionaTutti(BOOL bSel)
{
	for (int i = 0; i < m_pDBTRighe->GetSize(); ++i)
		m_pDBTRighe->GetRiga(i)->l_Selezionata = bSel;
	m_NrSelezionati = bSel ? m_pDBTRighe->GetSize() : 0;
	UpdateDataView();
}

void BDStampaRiclassificatoDoc::OnSelezionaTutti()
{
	SelezionaTutti(TRUE);
}

void BDStampaRiclassificatoDoc::OnDeselezionaTutti()
{
	SelezionaTutti(FALSE);
}

void BDStampaRiclassificatoDoc::RiempiDBTModelli()
{
	m_pDBTModelli->RemoveAll(TRUE);
	try
	{
		Kvz_TRiclassificazioneTesta rec;
		SqlTable t(&rec, GetReadOnlySqlSession(), this);
		t.Open(FALSE);
		t.SelectAll();
		t.AddParam("p1", rec.f_Esercizio);
		t.AddFilterColumn(rec.f_Esercizio);
		t.AddParam("p2", rec.f_ModelloRiclassific);
		t.AddFilterColumn(rec.f_ModelloRiclassific, ">=");
		// No last model: every model from the first on.
		if (!m_AlModello.IsEmpty())
		{
			t.AddParam("p3", rec.f_ModelloRiclassific);
			t.AddFilterColumn(rec.f_ModelloRiclassific, "<=");
		}
		t.AddSortColumn(rec.f_ModelloRiclassific);
		t.SetParamValue("p1", m_Esercizio);
		t.SetParamValue("p2", m_DalModello);
		if (!m_AlModello.IsEmpty())
			t.SetParamValue("p3", m_AlModello);
		std::vector<Kvz_TRiclassificazioneTesta> modelli;
		for (t.Query(); !t.IsEOF(); t.MoveNext())
			modelli.push_back(rec);
		t.Close();
		for (const Kvz_TRiclassificazioneTesta& m : modelli)
			*m_pDBTModelli->AddRecord() = m;
	}
	catch (const SqlException& e)
	{
		ShowSqlError(e, "BDStampaRiclassificatoDoc::RiempiDBTModelli");
	}
	m_StatoElab = CString::Formatted("Modelli caricati: %d.", m_pDBTModelli->GetSize());
	UpdateDataView();
}

void BDStampaRiclassificatoDoc::RiempiDBTRighe()
{
	m_pDBTRighe->RemoveAll(TRUE);
	DimenticaValori();
	try
	{
		// The short descriptions, read once.
		std::map<CString, std::pair<bool, CString>> brevi;
		{
			Kvz_TDescrizioniBrevi d;
			SqlTable t(&d, GetReadOnlySqlSession(), this);
			t.Open(FALSE);
			t.SelectAll();
			for (t.Query(); !t.IsEOF(); t.MoveNext())
				brevi[d.f_CodRiclassificato.GetString()] = {d.f_Selezionata != FALSE, d.f_DescrizioneBreve.GetString()};
		}
		Kvz_TRiclassificazioneRighe rec;
		SqlTable t(&rec, GetReadOnlySqlSession(), this);
		t.Open(FALSE);
		t.SelectAll();
		t.AddParam("p1", rec.f_Esercizio);
		t.AddFilterColumn(rec.f_Esercizio);
		t.AddParam("p2", rec.f_ModelloRiclassific);
		t.AddFilterColumn(rec.f_ModelloRiclassific);
		t.AddParam("p3", rec.f_TipoRiga);
		t.AddFilterColumn(rec.f_TipoRiga, "<>");
		// The codes in the order the statement reads (its rows' positions), not the alphabet's.
		t.AddSortColumn(rec.f_Esercizio);
		t.AddSortColumn(rec.f_Posizione);
		t.AddSortColumn(rec.f_CodRiclassificato);
		t.SetParamValue("p3", DataEnum(E_KVZ_TIPORIGA, kTipoRigaEsclusa));
		std::vector<Kvz_TRiclassificazioneRighe> righe;
		for (int m = 0; m < m_pDBTModelli->GetSize(); ++m)
		{
			const Kvz_TRiclassificazioneTesta* pModello = m_pDBTModelli->GetModello(m);
			if (!pModello->l_Selezionata)
				continue;
			if (GetScheduler()->IsAborted())
				break;
			t.SetParamValue("p1", pModello->f_Esercizio);
			t.SetParamValue("p2", pModello->f_ModelloRiclassific);
			for (t.Query(); !t.IsEOF(); t.MoveNext())
			{
				auto it = brevi.find(rec.f_CodRiclassificato.GetString());
				rec.l_Selezionata = it != brevi.end() && it->second.first;
				rec.l_DescrizioneBreve = it != brevi.end() ? it->second.second : CString();
				righe.push_back(rec);
			}
		}
		t.Close();
		// Each code once, where it first appears; a later model may give it a short description.
		std::map<CString, int> posizioni;
		for (const Kvz_TRiclassificazioneRighe& r : righe)
		{
			auto [it, nuovo] = posizioni.try_emplace(r.f_CodRiclassificato.GetString(), m_pDBTRighe->GetSize());
			if (nuovo)
				*m_pDBTRighe->AddRecord() = r;
			else if (Kvz_TRiclassificazioneRighe* p = m_pDBTRighe->GetRiga(it->second); p->l_DescrizioneBreve.IsEmpty())
				p->l_DescrizioneBreve = r.l_DescrizioneBreve;
		}
	}
	catch (const SqlException& e)
	{
		ShowSqlError(e, "BDStampaRiclassificatoDoc::RiempiDBTRighe");
	}
	int n = 0;
	for (int i = 0; i < m_pDBTRighe->GetSize(); ++i)
		n += m_pDBTRighe->GetRiga(i)->l_Selezionata ? 1 : 0;
	m_NrSelezionati = n;
	UpdateDataView();
}

void BDStampaRiclassificatoDoc::OnBatchExecute()
{
	if (!StartBatchTransaction())
		return;
	BeginWaitCursor();
	if (m_pTabber && m_pTabber->GetActiveTab() == 0)
	{
		RiempiDBTRighe();
		m_pTabber->GetPaginaCodici()->EnableTab(TRUE);
		m_pTabber->SetActiveTab(1);
		m_StatoElab = CString::Formatted("Codici caricati: %d.", m_pDBTRighe->GetSize());
	}
	if (GetScheduler()->IsAborted())
		m_StatoElab = _T("Elaborazione interrotta su richiesta utente.");
	EndWaitCursor();
	UpdateDataView();
	GetContext()->Commit();
}

DataMon BDStampaRiclassificatoDoc::CalcolaValoreCodice(const DataStr& aModello, const DataInt& aEsercizio,
													   const DataStr& aCodice)
{
	const kvzdocuments::ColonnaRisultati colonna = kvzdocuments::ColonnaDaStampare(m_Colonna.GetString());
	if (!colonna.IsValid() || m_DalMese > m_AlMese)
		return DataMon();
	const CString chiave = CString::Formatted("%d|%s|%d|%d", aEsercizio.GetValue(), colonna.valore.GetString(),
											  m_DalMese.GetValue(), m_AlMese.GetValue());
	if (chiave != m_strChiaveValori)
	{
		m_Valori.clear();
		m_strChiaveValori = chiave;
	}
	auto it = m_Valori.find(aModello.GetString());
	if (it == m_Valori.end())
	{
		// A model's codes at once. A month is one row of a code: where several kinds of
		// base-plan data are stored, the first kind counts. The model's rows say which codes take
		// one month alone (kinds 2 and 3, the range's first or last, as the statement prints
		// them) and which are progressives, their operands' values combined.
		std::map<CString, WORD> tipi;
		std::map<CString, kvzdocuments::ProgressivoCodice> progressivi;
		std::map<CString, double>& somme = m_Valori[aModello.GetString()];
		it = m_Valori.find(aModello.GetString());
		try
		{
			Kvz_TRiclassificazioneRighe riga;
			SqlTable r(&riga, GetReadOnlySqlSession(), this);
			r.Open(FALSE);
			r.Select(riga.f_CodRiclassificato);
			r.Select(riga.f_TipoRiga);
			r.Select(riga.f_SegnoDaApplicare);
			r.Select(riga.f_CodRiclDividendoProgr);
			r.Select(riga.f_CodRiclDivisoreProgr);
			r.AddParam("p1", riga.f_Esercizio);
			r.AddFilterColumn(riga.f_Esercizio);
			r.AddParam("p2", riga.f_ModelloRiclassific);
			r.AddFilterColumn(riga.f_ModelloRiclassific);
			r.SetParamValue("p1", aEsercizio);
			r.SetParamValue("p2", aModello);
			for (r.Query(); !r.IsEOF(); r.MoveNext())
			{
				const WORD nTipo = riga.f_TipoRiga.GetItemValue();
				if (nTipo == 2 || nTipo == 3)
					tipi[riga.f_CodRiclassificato.GetString()] = nTipo;
				if (nTipo != kTipoRigaEsclusa && !riga.f_CodRiclDividendoProgr.IsEmpty() &&
					!riga.f_CodRiclDivisoreProgr.IsEmpty())
					progressivi[riga.f_CodRiclassificato.GetString()] = {riga.f_SegnoDaApplicare.GetString(),
																		  riga.f_CodRiclDividendoProgr.GetString(),
																		  riga.f_CodRiclDivisoreProgr.GetString()};
			}
			r.Close();

			Kvz_TRiclassificato rec;
			DataObj* pCampo = rec.GetDataObjFromColumnName(colonna.valore);
			SqlTable t(&rec, GetReadOnlySqlSession(), this);
			t.Open(FALSE);
			t.Select(rec.f_CodRiclassificato);
			t.Select(rec.f_Mese);
			t.Select(rec.f_TipoDatoPianoBase);
			t.Select(*pCampo);
			kvzdocuments::FiltraRisultati(t, rec, aEsercizio, aModello, m_DalMese, m_AlMese);
			t.AddSortColumn(rec.f_CodRiclassificato);
			t.AddSortColumn(rec.f_Mese);
			t.AddSortColumn(rec.f_TipoDatoPianoBase);
			const int nDal = m_DalMese, nAl = m_AlMese;
			CString ultimo;
			int nUltimoMese = 0;
			double* pSomma = nullptr;
			WORD nTipo = 0;
			for (t.Query(); !t.IsEOF(); t.MoveNext())
			{
				const CString& codice = rec.f_CodRiclassificato.GetString();
				const int nMese = rec.f_Mese;
				if (!pSomma || codice != ultimo)
				{
					ultimo = codice;
					pSomma = &somme[codice];
					auto k = tipi.find(codice);
					nTipo = k == tipi.end() ? WORD(0) : k->second;
				}
				else if (nMese == nUltimoMese)
					continue;
				nUltimoMese = nMese;
				if ((nTipo == 2 && nMese != nDal) || (nTipo == 3 && nMese != nAl))
					continue;
				*pSomma += static_cast<DataDbl*>(pCampo)->GetValue();
			}
		}
		catch (const SqlException& e)
		{
			ShowSqlError(e, "BDStampaRiclassificatoDoc::CalcolaValoreCodice");
		}
		if (!progressivi.empty())
		{
			const std::map<CString, double> proprie = somme;
			kvzdocuments::ProgressiviCalcolati calcolo(progressivi, [&](const CString& codice) {
				auto x = proprie.find(codice);
				return x == proprie.end() ? 0.0 : x->second;
			});
			for (const auto& [codice, p] : progressivi)
				somme[codice] = calcolo.Valore(codice);
		}
	}
	auto v = it->second.find(aCodice.GetString());
	return DataMon(v == it->second.end() ? 0.0 : v->second);
}

DataBool BDStampaRiclassificatoDoc::Kvz_GetNextModelloPerStampa(DataInt nRiga, DataStr& aModello, DataStr& aDescrizione)
{
	const int i = nRiga;
	if (i < 0 || i >= m_pDBTModelli->GetSize())
		return DataBool(FALSE);
	const Kvz_TRiclassificazioneTesta* p = m_pDBTModelli->GetModello(i);
	if (p->l_Selezionata)
	{
		aModello = p->f_ModelloRiclassific;
		aDescrizione = p->f_Descrizione;
	}
	else
		aModello = DataStr();
	return DataBool(TRUE);
}

DataBool BDStampaRiclassificatoDoc::CodiciPerStampa(const DataStr& aModello, int nPrimo,
													const std::vector<DataMon*>& importi)
{
	for (DataMon* p : importi)
		*p = DataMon();
	int k = 0;
	for (int i = 0; i < m_pDBTRighe->GetSize(); ++i)
	{
		const Kvz_TRiclassificazioneRighe* pRiga = m_pDBTRighe->GetRiga(i);
		if (!pRiga->l_Selezionata || ++k <= nPrimo)
			continue;
		const size_t n = static_cast<size_t>(k - nPrimo - 1);
		if (n >= importi.size())
			break;
		*importi[n] = CalcolaValoreCodice(aModello, pRiga->f_Esercizio, pRiga->f_CodRiclassificato);
	}
	return DataBool(TRUE);
}

DataBool BDStampaRiclassificatoDoc::Kvz_GetNextCodiciPerStampa_1(DataStr aModello, DataMon& aImporto1, DataMon& aImporto2, DataMon& aImporto3, DataMon& aImporto4, DataMon& aImporto5, DataMon& aImporto6, DataMon& aImporto7, DataMon& aImporto8, DataMon& aImporto9, DataMon& aImporto10, DataMon& aImporto11, DataMon& aImporto12, DataMon& aImporto13, DataMon& aImporto14, DataMon& aImporto15, DataMon& aImporto16, DataMon& aImporto17, DataMon& aImporto18, DataMon& aImporto19, DataMon& aImporto20, DataMon& aImporto21, DataMon& aImporto22, DataMon& aImporto23, DataMon& aImporto24, DataMon& aImporto25, DataMon& aImporto26, DataMon& aImporto27, DataMon& aImporto28, DataMon& aImporto29, DataMon& aImporto30, DataMon& aImporto31, DataMon& aImporto32, DataMon& aImporto33, DataMon& aImporto34, DataMon& aImporto35)
{
	return CodiciPerStampa(aModello, 0, {&aImporto1, &aImporto2, &aImporto3, &aImporto4, &aImporto5, &aImporto6, &aImporto7, &aImporto8, &aImporto9, &aImporto10, &aImporto11, &aImporto12, &aImporto13, &aImporto14, &aImporto15, &aImporto16, &aImporto17, &aImporto18, &aImporto19, &aImporto20, &aImporto21, &aImporto22, &aImporto23, &aImporto24, &aImporto25, &aImporto26, &aImporto27, &aImporto28, &aImporto29, &aImporto30, &aImporto31, &aImporto32, &aImporto33, &aImporto34, &aImporto35});
}

DataBool BDStampaRiclassificatoDoc::Kvz_GetNextCodiciPerStampa_2(DataStr aModello, DataMon& aImporto1, DataMon& aImporto2, DataMon& aImporto3, DataMon& aImporto4, DataMon& aImporto5, DataMon& aImporto6, DataMon& aImporto7, DataMon& aImporto8, DataMon& aImporto9, DataMon& aImporto10, DataMon& aImporto11, DataMon& aImporto12, DataMon& aImporto13, DataMon& aImporto14, DataMon& aImporto15, DataMon& aImporto16, DataMon& aImporto17, DataMon& aImporto18, DataMon& aImporto19, DataMon& aImporto20, DataMon& aImporto21, DataMon& aImporto22, DataMon& aImporto23, DataMon& aImporto24, DataMon& aImporto25, DataMon& aImporto26, DataMon& aImporto27, DataMon& aImporto28, DataMon& aImporto29, DataMon& aImporto30, DataMon& aImporto31, DataMon& aImporto32, DataMon& aImporto33, DataMon& aImporto34, DataMon& aImporto35)
{
	return CodiciPerStampa(aModello, 35, {&aImporto1, &aImporto2, &aImporto3, &aImporto4, &aImporto5, &aImporto6, &aImporto7, &aImporto8, &aImporto9, &aImporto10, &aImporto11, &aImporto12, &aImporto13, &aImporto14, &aImporto15, &aImporto16, &aImporto17, &aImporto18, &aImporto19, &aImporto20, &aImporto21, &aImporto22, &aImporto23, &aImporto24, &aImporto25, &aImporto26, &aImporto27, &aImporto28, &aImporto29, &aImporto30, &aImporto31, &aImporto32, &aImporto33, &aImporto34, &aImporto35});
}

DataBool BDStampaRiclassificatoDoc::Kvz_GetNextCodiciPerStampa_3(DataStr aModello, DataMon& aImporto1, DataMon& aImporto2, DataMon& aImporto3, DataMon& aImporto4, DataMon& aImporto5, DataMon& aImporto6, DataMon& aImporto7, DataMon& aImporto8, DataMon& aImporto9, DataMon& aImporto10, DataMon& aImporto11, DataMon& aImporto12, DataMon& aImporto13, DataMon& aImporto14, DataMon& aImporto15, DataMon& aImporto16, DataMon& aImporto17, DataMon& aImporto18, DataMon& aImporto19, DataMon& aImporto20, DataMon& aImporto21, DataMon& aImporto22, DataMon& aImporto23, DataMon& aImporto24, DataMon& aImporto25, DataMon& aImporto26, DataMon& aImporto27, DataMon& aImporto28, DataMon& aImporto29)
{
	return CodiciPerStampa(aModello, 70, {&aImporto1, &aImporto2, &aImporto3, &aImporto4, &aImporto5, &aImporto6, &aImporto7, &aImporto8, &aImporto9, &aImporto10, &aImporto11, &aImporto12, &aImporto13, &aImporto14, &aImporto15, &aImporto16, &aImporto17, &aImporto18, &aImporto19, &aImporto20, &aImporto21, &aImporto22, &aImporto23, &aImporto24, &aImporto25, &aImporto26, &aImporto27, &aImporto28, &aImporto29});
}

DataBool BDStampaRiclassificatoDoc::Kvz_GetNextCodiciPerStampa_4(DataStr aModello, DataMon& aImporto1, DataMon& aImporto2, DataMon& aImporto3, DataMon& aImporto4, DataMon& aImporto5, DataMon& aImporto6, DataMon& aImporto7, DataMon& aImporto8, DataMon& aImporto9, DataMon& aImporto10, DataMon& aImporto11)
{
	return CodiciPerStampa(aModello, 99, {&aImporto1, &aImporto2, &aImporto3, &aImporto4, &aImporto5, &aImporto6, &aImporto7, &aImporto8, &aImporto9, &aImporto10, &aImporto11});
}

DataBool BDStampaRiclassificatoDoc::Kvz_CancellaSelezionati()
{
	Kvz_TUDescrizioniBrevi updater(this, GetMessages());
	updater.SetSqlSession(GetUpdatableSqlSession());
	updater.SetAutocommit(TRUE);
	for (int i = 0; i < m_pDBTRighe->GetSize();)
	{
		Kvz_TRiclassificazioneRighe* pRiga = m_pDBTRighe->GetRiga(i);
		if (!pRiga->l_Selezionata)
		{
			++i;
			continue;
		}
		try
		{
			// A code without a record gets one, with its own code as the key.
			const TableReader::FindResult r = updater.FindRecord(pRiga->f_CodRiclassificato, FALSE);
			Kvz_TDescrizioniBrevi* pBreve = updater.GetRecord();
			if (r == TableReader::NOT_FOUND)
				pBreve->f_CodRiclassificato = pRiga->f_CodRiclassificato;
			pBreve->f_DescrizioneBreve = pRiga->l_DescrizioneBreve;
			updater.UpdateRecord();
		}
		catch (const SqlException& e)
		{
			ShowSqlError(e, "BDStampaRiclassificatoDoc::Kvz_CancellaSelezionati");
		}
		// The next row moves into this place.
		m_pDBTRighe->RemoveRecord(i);
	}
	m_NrSelezionati = 0;
	UpdateDataView();
	return DataBool(TRUE);
}

void BDStampaRiclassificatoDoc::OnStampa()
{
	if (!ControllaColonna())
		return;
	if (m_NrSelezionati <= 0)
	{
		AfxMessageBox("Selezionare i codici da stampare.");
		return;
	}
	CPlvCommandInterface* pCmd = AfxGetPlvCmdManager();
	if (!pCmd || !AfxGetReportEngine())
	{
		Message("Stampa non eseguita: nessun motore di stampa disponibile.", CMessages::MSG_WARNING);
		return;
	}
	// The values are read again for each print.
	DimenticaValori();
	m_strUltimoReport = m_NrSelezionati <= kMaxCodiciStampaBreve ? kReportPerCodice : kReportPerCodiceEstesa;
	auto pInfo = std::make_unique<CRendoInfo>();
	pInfo->SetNamespace(CPLVNamespace(m_strUltimoReport));
	pInfo->AddReport(CPLVNamespace(m_strUltimoReport));
	pInfo->AddParam("w_EsercInput", m_Esercizio);
	pInfo->AddParam("w_DalMeseInput", m_DalMese);
	pInfo->AddParam("w_AlMeseInput", m_AlMese);
	pInfo->AddParam("w_ColonnaInput", m_Colonna);
	// The chosen codes, one a line in print order: a column each, zero or not.
	CString codici;
	for (int i = 0; i < m_pDBTRighe->GetSize(); ++i)
		if (const Kvz_TRiclassificazioneRighe* p = m_pDBTRighe->GetRiga(i); p->l_Selezionata)
		{
			if (!codici.IsEmpty())
				codici += '\n';
			codici += p->f_CodRiclassificato.GetString();
		}
	pInfo->AddParam("w_CodiciSelezionati", DataStr(codici));
	pInfo->m_bShowAskDialog = FALSE;
	pInfo->m_bUnattended = TRUE;
	if (CRendoDoc* pReport = pCmd->RunReport(pInfo.release(), this))
		pCmd->ReleaseReport(pReport);
}

DataBool BDStampaRiclassificatoDoc::Kvz_GetNextDescrizioniPerStampa(DataStr& aDescr1, DataStr& aDescr2,
																	DataStr& aDescr3, DataStr& aDescr4,
																	DataStr& aDescr5, DataStr& aDescr6,
																	DataStr& aDescr7, DataStr& aDescr8,
																	DataStr& aDescr9)
{
	DataStr* descr[] = {&aDescr1, &aDescr2, &aDescr3, &aDescr4, &aDescr5, &aDescr6, &aDescr7, &aDescr8, &aDescr9};
	for (DataStr* p : descr)
		*p = DataStr();
	size_t next = 0;
	for (int i = 0; i < m_pDBTRighe->GetSize(); ++i)
		if (m_pDBTRighe->GetRiga(i)->l_Selezionata && next < std::size(descr))
			*descr[next++] = m_pDBTRighe->GetRiga(i)->l_DescrizioneBreve;
	return DataBool(TRUE);
}

void CTabberStampaRicl::AddPages()
{
	AddDialog(RUNTIME_CLASS(BDStampaRiclassificatoModelli), 0, _T("Modelli"));
	AddDialog(RUNTIME_CLASS(CStampaRiclassificatoDlg), 0, _T("Codici"));
}

void BDStampaRiclassificatoModelli::BuildDataControlLinks()
{
	auto* pDoc = static_cast<BDStampaRiclassificatoDoc*>(GetDocument());
	AddLink(IDC_STAMPA_RICL_DAL_ESERCIZIO, _T("Esercizio"), RUNTIME_CLASS(CIntEdit), &pDoc->m_Esercizio);
	pDoc->m_Esercizio.SetFieldRule(FieldRule::AnYear());
	AddLink(IDC_STAMPA_RICL_DAL_MODELLO, _T("Dal modello"), RUNTIME_CLASS(CStrEdit), &pDoc->m_DalModello,
			pDoc->m_pHKLDalModello);
	AddLink(IDC_STAMPA_RICL_AL_MODELLO, _T("Al modello"), RUNTIME_CLASS(CStrEdit), &pDoc->m_AlModello,
			pDoc->m_pHKLAlModello);
	AddLink(IDC_STAMPA_RICL_FORMULA, _T("Colonna"), RUNTIME_CLASS(CStrEdit), &pDoc->m_Colonna);
	AddLink(IDC_STAMPA_RICL_DAL_DAL_MESE, _T("Dal mese"), RUNTIME_CLASS(CIntEdit), &pDoc->m_DalMese);
	AddLink(IDC_STAMPA_RICL_DAL_AL_MESE, _T("Al mese"), RUNTIME_CLASS(CIntEdit), &pDoc->m_AlMese);
	AddButton(IDC_STAMPA_RICL_CARICA_MODELLI, _T("Carica modelli"));
	AddLink(IDC_STAMPA_RICL_MODELLI, _T("Modelli stampa riclassificato"), RUNTIME_CLASS(CStampaRiclassificatoModelliEdit),
			pDoc->GetDBTModelli());
	AddLink(IDC_STAMPA_RICL_STATO_ELAB, _T("STAMPA_RICL_STATO_ELAB"), RUNTIME_CLASS(CStrStatic), &pDoc->m_StatoElab);
	SetLabels({{_T("STAMPA_RICL_STATO_ELAB"), _T("Stato elaborazione")}});
}

void CStampaRiclassificatoDlg::BuildDataControlLinks()
{
	auto* pDoc = static_cast<BDStampaRiclassificatoDoc*>(GetDocument());
	AddLink(IDC_STAMPA_PER_CODICE_NR_SEL, _T("Codici selezionati"), RUNTIME_CLASS(CIntStatic), &pDoc->m_NrSelezionati);
	AddButton(IDC_STAMPA_RICL_SEL_TUTTI, _T("Seleziona tutti"));
	AddButton(IDC_STAMPA_RICL_SEL_NESSUNO, _T("Deseleziona tutti"));
	AddLink(IDC_STAMPA_RICL_RIGHE, _T("Stampa riclassificato"), RUNTIME_CLASS(CStampaRiclassificatoEdit),
			pDoc->GetDBTRighe());
	AddButton(IDC_STAMPA_RICL_STAMPA, _T("Stampa"));
}

void CStampaRiclassificatoModelliEdit::Customize()
{
	auto* pRec = static_cast<Kvz_TRiclassificazioneTesta*>(GetDBT()->GetRecord());
	AddColumn(IDC_STAMPA_RICL_MODELLI_SEL, _T("Sel"), _T("Sel"), RUNTIME_CLASS(CBoolButton), pRec->l_Selezionata, 3);
	AddColumn(IDC_STAMPA_RICL_MODELLI_MODELLO, _T("Modello"), _T("Modello"), RUNTIME_CLASS(CStrStatic),
			  pRec->f_ModelloRiclassific, 10);
	AddColumn(IDC_STAMPA_RICL_MODELLI_DESCRIZIONE, _T("Descrizione"), _T("Descrizione"), RUNTIME_CLASS(CStrStatic),
			  pRec->f_Descrizione, 30);
	EnableAddRow(FALSE);
	EnableInsertRow(FALSE);
	EnableDeleteRow(FALSE);
}

void CStampaRiclassificatoEdit::Customize()
{
	auto* pRec = static_cast<Kvz_TRiclassificazioneRighe*>(GetDBT()->GetRecord());
	AddColumn(IDC_STAMPA_RICL_RIGHE_SEL, _T("Sel"), _T("Sel"), RUNTIME_CLASS(CBoolButton), pRec->l_Selezionata, 3);
	AddColumn(IDC_STAMPA_RICL_RIGHE_CODICE, _T("Modello"), _T("Codice"), RUNTIME_CLASS(CStrStatic),
			  pRec->f_CodRiclassificato, 10);
	AddColumn(IDC_STAMPA_RICL_RIGHE_DESCRIZIONE, _T("Descrizione"), _T("Descrizione"), RUNTIME_CLASS(CStrStatic),
			  pRec->f_Descrizione, 30, 2);
	AddColumn(IDC_STAMPA_RICL_RIGHE_DESCR_BREVE, _T("DescrizioneBreve"), _T("Descrizione breve"), RUNTIME_CLASS(CStrEdit),
			  pRec->l_DescrizioneBreve, 15);
	EnableAddRow(FALSE);
	EnableInsertRow(FALSE);
	EnableDeleteRow(FALSE);
	SetMultipleLinesPerRow(TRUE);
	EnableOrdering(TRUE);
}

void BDStampaRiclassificatoView::BuildDataControlLinks()
{
	auto* pDoc = static_cast<BDStampaRiclassificatoDoc*>(GetDocument());
	auto* pTabber = static_cast<CTabberStampaRicl*>(
		AddLink(IDC_STAMPA_RICL_TAB, _T("STAMPA_RICL_TAB"), RUNTIME_CLASS(CTabberStampaRicl), nullptr));
	if (!pTabber)
		return;
	pTabber->AddPages();
	pTabber->SetActiveTab(0);
	pTabber->GetPaginaCodici()->EnableTab(FALSE);
	pDoc->SetTabber(pTabber);
}
