// Opening of the base-plan symbol document, the filling of its two selection grids and the
// handlers of the account grid's rows. Loading, checking and saving are in
// Kvz_CPropSimboloPBaseSalva.cpp.
#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_CPropSimboloPBaseDoc.h"

#include "kvznet/kvzmod/kvzdbl/KvzNetSettings.h"
#include "kvznet/kvzmod/kvzdocuments/formule/Kvz_CFormulaDoc.h"
#include "kvznet/kvzmod/kvzdocuments/formule/Kvz_CUtilizzaFormuleDoc.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlException.h"

namespace {
const char* const kSource = "PropSimboloPBase";

CString Testo(LPCTSTR szTesto)
{
	return AfxLoadSourceString(szTesto, kSource);
}

const DataEnum kContatoreConto(E_KVZ_TIPOSIMBOLO, 0);
}  // namespace

// ---- opening ------------------------------------------------------------------------------------

BOOL Kvz_CPropSimboloPBaseDoc::OnOpenDocument(const DocInvocationInfo* pInfo)
{
	// Opened on its own (from the menu or the command line) it defines a symbol of the current
	// year for no model.
	if (!PrendiContesto(pInfo, "Kvz_CPropSimboloPBaseDoc::OnOpenDocument", kSource))
		return FALSE;
	if (m_ModoDoc.GetItemValue() == 1)
	{
		m_NomeSimbolo = m_NomeSimboloSelez;
		CaricaSimbolo();
		m_VisSoloSel = TRUE;
		m_VisTutti = FALSE;
	}
	else
	{
		InizializzaNuovoSimbolo();
		m_VisSoloSel = FALSE;
		m_VisTutti = TRUE;
	}
	return Kvz_CPropSimboloDoc::OnOpenDocument(pInfo);
}

void Kvz_CPropSimboloPBaseDoc::InizializzaNuovoSimbolo()
{
	m_AziendaCorrente = TRUE;
	m_UsaAziendaEsterna = FALSE;
	if (m_pFormulaDoc)
		m_NomeSimbolo = NomeProposto(_T("S"));
	m_OldNomeSimbolo = m_NomeSimbolo;
	m_Annotazioni = m_DescrizioneRiga;
	m_SelTotAss = TRUE;
	m_AggregFunction = DataEnum(E_KVZ_AGGREGFUNCTION, 0);
	m_TipoBudget = DataEnum(E_KVZ_TIPOBUDGET, 0);
	m_WhereEs = TRUE;
	m_TipoOpeEs = DataEnum(E_KVZ_TIPOOPERATORE, 0);
	m_ValDaEsSymb = TRUE;
	m_ValDaEsConst = FALSE;
	m_ValAEsConst = TRUE;
	m_ValAEsSymb = FALSE;
	m_WhereMese = TRUE;
	m_TipoOpeMese = DataEnum(E_KVZ_TIPOOPERATORE, 0);
	m_ValDaMeseSymb = TRUE;
	m_ValDaMeseConst = FALSE;
	m_ValAMeseConst = TRUE;
	m_ValAMeseSymb = FALSE;
	m_TipoOpeConto = DataEnum(E_KVZ_TIPOOPECONTO, 8);
	m_WhereSaldo = FALSE;
	m_WhereRateo = FALSE;
	m_WhereTotAss = FALSE;
	m_TipoOpeSaldo = DataEnum(E_KVZ_TIPOOPERATORE, 0);
	m_TipoOpeRateo = DataEnum(E_KVZ_TIPOOPERATORE, 0);
	m_TipoOpeTotAss = DataEnum(E_KVZ_TIPOOPERATORE, 0);
	m_WhereConto = TRUE;
	m_WhereCdcComm = FALSE;
	m_TuttiContiDelCdcComm = TRUE;
	m_SelContiCdcComm = FALSE;
	LeggiImpostazioni();
	AggiornaStatoControlli();
}

void Kvz_CPropSimboloPBaseDoc::LeggiImpostazioni()
{
	CKvzNetSettings settings;
	m_Economici = settings.GetPropSimboloPBaseEconomici();
	m_Patrimoniali = settings.GetPropSimboloPBasePatrimoniali();
	m_TuttiConti = settings.GetPropSimboloPBaseTuttiConti();
	m_SelMastri = settings.GetPropSimboloPBaseSelMastri();
	m_SelSeg1 = settings.GetPropSimboloPBaseSelSeg1();
	m_SelSeg2 = settings.GetPropSimboloPBaseSelSeg2();
	m_SelSeg3 = settings.GetPropSimboloPBaseSelSeg3();
	m_SelSeg4 = settings.GetPropSimboloPBaseSelSeg4();
	m_SelSeg5 = settings.GetPropSimboloPBaseSelSeg5();
	m_SelSeg6 = settings.GetPropSimboloPBaseSelSeg6();
	m_SelSeg7 = settings.GetPropSimboloPBaseSelSeg7();
	m_CdcCommDa = settings.GetPropSimboloPBaseCdcCommDa();
	m_CdcCommA = settings.GetPropSimboloPBaseCdcCommA();
	const CString filtro = settings.GetPropSimboloPBaseFiltroCdcComm().GetString();
	m_Entrambi = filtro == _T("E");
	m_Centri = filtro == _T("C");
	m_Commesse = filtro == _T("M");
}

// Refills the grid of the active selection tab with the filters as they are now.
void Kvz_CPropSimboloPBaseDoc::OnEstrai()
{
	if (m_pTabber && m_pTabber->GetActiveTab() == 1)
		RiempiListBoxCdcComm();
	else
		RiempiListBoxConti();
	UpdateDataView();
}

// ---- filling the grids --------------------------------------------------------------------------

void Kvz_CPropSimboloPBaseDoc::RiempiListBoxConti()
{
	const Kvz_CUtilizzaFormuleDoc::LetturaContatori lettura(GetDocUtilizzo());
	m_nSelezionati = 0;
	m_pDBTSelConti->RemoveAll(TRUE);
	m_pDBTSelCdcComm->RemoveAll(TRUE);
	if (m_TipoOpeConto.GetItemValue() != 8)
		return;
	if (m_UsaAziendaEsterna == TRUE && m_Azienda.IsEmpty())
	{
		AfxMessageBox(Testo(_T("Indicare l'azienda esterna da utilizzare.")));
		return;
	}
	if (!ConnectDB())
		return;
	const DataInt esercizio = EsercizioSimbolo();
	const BOOL bEsterna = IsAziendaEsterna();

	Kvz_TEnhAnagContiKvz conto;
	SqlTable tConti(&conto, GetReadOnlySqlSession(), this);
	Kvz_TElencoContiSimboloPBase elenco;
	SqlTable tElenco(&elenco, GetReadOnlySqlSession(), this);
	Kvz_TAnagContiKvz_Ext contoExt(bEsterna ? m_pConnLista : nullptr);
	SqlTable tContiExt(&contoExt, bEsterna ? m_pConnLista->GetDefaultSqlSession() : GetReadOnlySqlSession(), this);
	Kvz_TRAnagContiKvz conti(this);
	int nPrimoSel = -1;
	const ElencoSalvato salvato = LeggiElencoSalvato();
	// The year's splits of every account, read once when a ticked account needs them.
	CdcCommPerConto cdcComm;
	bool bLetti = false;
	try
	{
		SqlTable& tSorgente = m_VisSoloSel == TRUE ? tElenco : bEsterna ? tContiExt : tConti;
		tSorgente.Open();
		PreparaQueryConti(conto, tConti, elenco, tElenco, contoExt, tContiExt);
		DataStr precedente;
		for (tSorgente.Query(); !tSorgente.IsEOF(); tSorgente.MoveNext())
		{
			DataStr codice;
			if (m_VisSoloSel == TRUE)
			{
				// The list holds one row per cost centre/job of an account: the account once.
				if (elenco.f_ContoSelez == precedente)
					continue;
				precedente = elenco.f_ContoSelez;
				if (conti.FindRecord(esercizio, elenco.f_ContoSelez) != TableReader::FOUND)
					continue;
			}
			auto* pRiga = static_cast<Kvz_TEnhAnagContiKvz*>(m_pDBTSelConti->AddRecord());
			if (m_VisSoloSel == TRUE)
				*pRiga = *conti.GetRecord();
			else if (bEsterna)
				CopiaContoEsterno(contoExt, *pRiga);
			else
				*pRiga = conto;
			pRiga->l_Sel = FALSE;
			if (const DataEnum* pSegno = salvato.Conto(pRiga->f_ContoKvz))
			{
				pRiga->l_Sel = TRUE;
				pRiga->l_SegnoConto = *pSegno;
				m_nSelezionati = m_nSelezionati + 1;
				if (nPrimoSel < 0)
					nPrimoSel = m_pDBTSelConti->GetUpperBound();
			}
			pRiga->l_ContatoreDettaglio = ContatoreDettaglio(kContatoreConto, pRiga->f_ContoKvz);
			pRiga->l_ContatoreGenerale = ContatoreGenerale(kContatoreConto, pRiga->f_ContoKvz);
			// A ticked account's splits take part in the selection; the grid itself is filled
			// for the current account at the end.
			if (pRiga->l_Sel == TRUE)
			{
				if (!bLetti)
				{
					cdcComm = LeggiCdcCommDeiConti(nullptr);
					bLetti = true;
				}
				auto it = cdcComm.find(ChiaveConto(pRiga->f_ContoKvz));
				RiempiListBoxCdcCommDelConto(pRiga, it == cdcComm.end() ? std::vector<CdcCommLetto>() : it->second,
											 salvato);
			}
		}
	}
	catch (const SqlException& e)
	{
		ASSERT_RELEASE_FAILED("0", "Kvz_CPropSimboloPBaseDoc::RiempiListBoxConti", kSource);
		e.ShowError(_T(""));
	}
	for (SqlTable* t : {&tConti, &tElenco, &tContiExt})
		if (t->IsOpen())
			t->Close();
	for (int i = 0; i < m_pDBTSelCdcComm->GetSize(); ++i)
		m_pDBTSelCdcComm->GetCdcComm(i)->l_OldSel = m_pDBTSelCdcComm->GetCdcComm(i)->l_Sel;
	for (int i = 0; i < m_pDBTSelConti->GetSize(); ++i)
		m_pDBTSelConti->GetConto(i)->l_OldSel = m_pDBTSelConti->GetConto(i)->l_Sel;
	if (m_pDBTSelConti->GetSize() > 0)
	{
		m_pDBTSelConti->SetCurrentRow(nPrimoSel >= 0 ? nPrimoSel : 0);
		RiempiListBoxCdcCommDelConto(m_pDBTSelConti->GetCurrentRecord());
	}
}

void Kvz_CPropSimboloPBaseDoc::RiempiListBoxCdcComm()
{
	const Kvz_CUtilizzaFormuleDoc::LetturaContatori lettura(GetDocUtilizzo());
	m_nSelezionati = 0;
	if (m_UsaAziendaEsterna == TRUE && m_Azienda.IsEmpty())
	{
		AfxMessageBox(Testo(_T("Indicare l'azienda esterna da utilizzare.")));
		return;
	}
	const DataInt esercizio = EsercizioSimbolo();
	const BOOL bEsterna = IsAziendaEsterna() && m_pConnLista;
	Kvz_ViewCdcCommesse vista;
	Kvz_ViewCdcCommesse_Ext vistaExt(bEsterna ? m_pConnLista : nullptr);
	SqlTable t(bEsterna ? static_cast<SqlRecord*>(&vistaExt) : &vista,
			   bEsterna ? m_pConnLista->GetDefaultSqlSession() : GetReadOnlySqlSession(), this);
	const DataObj& colEsercizio = bEsterna ? static_cast<const DataObj&>(vistaExt.f_Esercizio) : vista.f_Esercizio;
	const DataObj& colCodice =
		bEsterna ? static_cast<const DataObj&>(vistaExt.f_CentroCommessa) : vista.f_CentroCommessa;
	const DataObj& colTipo = bEsterna ? static_cast<const DataObj&>(vistaExt.f_Tipo) : vista.f_Tipo;
	m_pDBTSelConti->RemoveAll(TRUE);
	m_pDBTSelCdcComm->RemoveAll(TRUE);
	int nPrimoSel = -1;
	const ElencoSalvato elenco = LeggiElencoSalvato();
	try
	{
		t.Open();
		t.SelectAll();
		t.AddSortColumn(colCodice);
		t.AddParam("p1", colEsercizio);
		t.AddFilterColumn(colEsercizio);
		t.SetParamValue("p1", esercizio);
		// Either end may be given alone.
		if (!m_CdcCommDa.IsEmpty())
		{
			t.AddParam("p2", colCodice);
			t.AddFilterColumn(colCodice, _T(">="));
			t.SetParamValue("p2", m_CdcCommDa);
		}
		if (!m_CdcCommA.IsEmpty())
		{
			t.AddParam("p3", colCodice);
			t.AddFilterColumn(colCodice, _T("<="));
			t.SetParamValue("p3", m_CdcCommA);
		}
		if (m_Entrambi != TRUE)
		{
			const DataEnum tipo(E_KVZ_TIPOCENTROCOMM, m_Centri == TRUE ? 0 : 1);
			t.AddParam("p4", colTipo);
			t.AddFilterColumn(colTipo);
			if (bEsterna)
				t.SetParamValue("p4", DataLng(static_cast<long>(tipo.GetValue())));
			else
				t.SetParamValue("p4", tipo);
		}
		for (t.Query(); !t.IsEOF(); t.MoveNext())
		{
			const DataStr codice = bEsterna ? vistaExt.f_CentroCommessa : vista.f_CentroCommessa;
			if (codice.IsEmpty())
				continue;
			Kvz_ViewCdcCommesse* pRiga = AggiungiRigaCdcComm(
				bEsterna ? vistaExt.f_Esercizio : vista.f_Esercizio, codice,
				bEsterna ? DataEnum(static_cast<DWORD>(vistaExt.f_Tipo.GetValue())) : vista.f_Tipo,
				bEsterna ? vistaExt.f_Descrizione : vista.f_Descrizione);
			if (const DataEnum* pSegno = elenco.CdcComm(pRiga->f_Tipo, pRiga->f_CentroCommessa))
			{
				pRiga->l_Sel = TRUE;
				pRiga->l_SegnoConto = *pSegno;
				m_nSelezionati = m_nSelezionati + 1;
				if (nPrimoSel < 0)
					nPrimoSel = m_pDBTSelCdcComm->GetUpperBound();
			}
		}
	}
	catch (const SqlException& e)
	{
		ASSERT_RELEASE_FAILED("0", "Kvz_CPropSimboloPBaseDoc::RiempiListBoxCdcComm", kSource);
		e.ShowError(_T(""));
	}
	if (t.IsOpen())
		t.Close();
	if (m_pDBTSelCdcComm->GetSize() > 0)
	{
		m_pDBTSelCdcComm->SetCurrentRow(nPrimoSel >= 0 ? nPrimoSel : 0);
		RiempiListBoxContiDelCdcComm(m_pDBTSelCdcComm->GetCurrentRecord());
	}
}

// ---- rows ticked, signs, current rows -----------------------------------------------------------

void Kvz_CPropSimboloPBaseDoc::OnSelContoChanged()
{
	Kvz_TEnhAnagContiKvz* pConto = m_pDBTSelConti->GetCurrentRecord();
	if (!pConto)
		return;
	const BOOL bContatori = ContaUtilizzi();
	if (pConto->l_Sel == TRUE)
	{
		if (!ControllaLivelloConto(pConto->f_ContoKvzPadre))
		{
			AfxMessageBox(Testo(_T("Il conto selezionato è successivo al livello di raggruppamento.")));
			pConto->l_Sel = FALSE;
			UpdateDataView();
			return;
		}
		if (bContatori)
		{
			IncrementaContatore(pConto->l_ContatoreDettaglio);
			IncrementaContatore(pConto->l_ContatoreGenerale);
		}
		m_nSelezionati = m_nSelezionati + 1;
	}
	else
	{
		if (bContatori)
		{
			DecrementaContatore(pConto->l_ContatoreDettaglio);
			DecrementaContatore(pConto->l_ContatoreGenerale);
		}
		m_nSelezionati = m_nSelezionati - 1;
	}
	if (m_WhereConto == TRUE)
	{
		for (int i = 0; i < m_pDBTSelCdcComm->GetSize(); ++i)
		{
			Kvz_ViewCdcCommesse* pCdc = m_pDBTSelCdcComm->GetCdcComm(i);
			if (pCdc->l_Sel == TRUE && pConto->l_Sel != TRUE && bContatori)
			{
				DecrementaContatore(pCdc->l_ContatoreDettaglio);
				DecrementaContatore(pCdc->l_ContatoreGenerale);
			}
			AggiornaCdcCommDelConto(pConto, pCdc);
		}
	}
	else if (Kvz_ViewCdcCommesse* pCdc = m_pDBTSelCdcComm->GetCurrentRecord())
	{
		AggiornaContoDelCdcComm(pConto, pCdc);
		pCdc->l_SelContiModif = TRUE;
	}
	UpdateDataView();
}

void Kvz_CPropSimboloPBaseDoc::OnContoRowChanged()
{
	if (!m_pTabber || m_pTabber->GetActiveTab() != 0)
		return;
	if (Kvz_TEnhAnagContiKvz* pConto = m_pDBTSelConti->GetCurrentRecord())
	{
		RiempiListBoxCdcCommDelConto(pConto);
		UpdateDataView();
	}
}

void Kvz_CPropSimboloPBaseDoc::OnCdcCommRowChanged()
{
	if (!m_pTabber || m_pTabber->GetActiveTab() != 1)
		return;
	if (Kvz_ViewCdcCommesse* pCdc = m_pDBTSelCdcComm->GetCurrentRecord())
	{
		RiempiListBoxContiDelCdcComm(pCdc);
		UpdateDataView();
	}
}

void Kvz_CPropSimboloPBaseDoc::OnContiDelCdcCommChanged()
{
	RiempiListBoxContiDelCdcComm(m_pDBTSelCdcComm->GetCurrentRecord());
	UpdateDataView();
}
