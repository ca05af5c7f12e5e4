// Loading, field states, checking and saving of a base-plan symbol, and the tick and sign
// handlers of the cost-centre/job grid.
//
// The save is one transaction: the registry row, the definition, the explicit selection, the
// splits the selection needs and their base-plan headers and months go in together or not at
// all. Ticking a row writes nothing: the splits a tick asks for are written by the save.
#include <algorithm>
#include <cstring>
#include <functional>
#include <set>

#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagSimboli.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliPianoBase.h"
#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_CPropSimboloPBaseDoc.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormula.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlException.h"

namespace {
const char* const kSource = "PropSimboloPBase";

CString Testo(LPCTSTR szTesto)
{
	return AfxLoadSourceString(szTesto, kSource);
}

// Raised inside the save when a step cannot go on; the message was shown already.
struct SalvataggioFallito
{
};

// The document's fields and the definition's columns they are stored in, one to one.
void PerOgniCampo(Kvz_CPropSimboloPBaseDoc& d, Kvz_TSimboliPianoBase& r,
				  const std::function<void(DataObj& documento, DataObj& colonna)>& f)
{
	f(d.m_NomeSimbolo, r.f_NomeSimbolo);
	f(d.m_Annotazioni, r.f_Annotazioni);
	f(d.m_SelSaldo, r.f_SelSaldo);
	f(d.m_SelRateo, r.f_SelRateo);
	f(d.m_SelTotAss, r.f_SelTotAss);
	f(d.m_SelBudget, r.f_SelBudget);
	f(d.m_TipoBudget, r.f_TipoBudget);
	f(d.m_AggregFunction, r.f_AggregFunction);
	f(d.m_WhereEs, r.f_WhereEs);
	f(d.m_TipoOpeEs, r.f_TipoOpeEs);
	f(d.m_ValDaEsConst, r.f_ValDaEsConst);
	f(d.m_ValDaEsSymb, r.f_ValDaEsSymb);
	f(d.m_ValDaEs, r.f_ValDaEs);
	f(d.m_ValAEsConst, r.f_ValAEsConst);
	f(d.m_ValAEsSymb, r.f_ValAEsSymb);
	f(d.m_ValAEs, r.f_ValAEs);
	f(d.m_WhereMese, r.f_WhereMese);
	f(d.m_TipoOpeMese, r.f_TipoOpeMese);
	f(d.m_ValDaMeseConst, r.f_ValDaMeseConst);
	f(d.m_ValDaMeseSymb, r.f_ValDaMeseSymb);
	f(d.m_ValDaMese, r.f_ValDaMese);
	f(d.m_ValAMeseConst, r.f_ValAMeseConst);
	f(d.m_ValAMeseSymb, r.f_ValAMeseSymb);
	f(d.m_ValAMese, r.f_ValAMese);
	f(d.m_WhereConto, r.f_WhereConto);
	f(d.m_WhereCdcComm, r.f_WhereCdcComm);
	f(d.m_TipoOpeConto, r.f_TipoOpeConto);
	f(d.m_ValDaConto, r.f_ValDaConto);
	f(d.m_ValAConto, r.f_ValAConto);
	f(d.m_WhereSaldo, r.f_WhereSaldo);
	f(d.m_TipoOpeSaldo, r.f_TipoOpeSaldo);
	f(d.m_ValDaSaldo, r.f_ValDaSaldo);
	f(d.m_ValASaldo, r.f_ValASaldo);
	f(d.m_WhereRateo, r.f_WhereRateo);
	f(d.m_TipoOpeRateo, r.f_TipoOpeRateo);
	f(d.m_ValDaRateo, r.f_ValDaRateo);
	f(d.m_ValARateo, r.f_ValARateo);
	f(d.m_WhereTotAss, r.f_WhereTotAss);
	f(d.m_TipoOpeTotAss, r.f_TipoOpeTotAss);
	f(d.m_ValDaTotAss, r.f_ValDaTotAss);
	f(d.m_ValATotAss, r.f_ValATotAss);
}

// A from/to group: the switch, the operator, the two ends with their constant/symbolic
// choices (null where the group has none).
struct Gruppo
{
	DataBool& where;
	DataEnum& ope;
	DataBool* daConst;
	DataBool* daSymb;
	DataObj& da;
	DataBool* aConst;
	DataBool* aSymb;
	DataObj& a;
};

const int kOpeTra = 6;    // "between" of the comparison operators
const int kOpeElenco = 8;  // the symbol's own list of accounts
}  // namespace

// ---- opening ------------------------------------------------------------------------------------

void Kvz_CPropSimboloPBaseDoc::CaricaSimbolo()
{
	Kvz_TRSimboliPianoBase definizione(this);
	definizione.SetSqlSession(GetReadOnlySqlSession());
	const DataInt esercizio = EsercizioSimbolo();
	if (definizione.FindRecord(esercizio, m_NomeSimbolo, m_Modello) == TableReader::FOUND)
	{
		Kvz_TSimboliPianoBase& r = *definizione.GetRecord();
		PerOgniCampo(*this, r, [](DataObj& documento, DataObj& colonna) { documento.Assign(colonna); });
		m_TuttiContiDelCdcComm = r.f_SelContoVuoto;
		m_SelContiCdcComm = r.f_SelContoVuoto != TRUE;
	}
	if (m_TipoOpeConto.GetItemValue() != kOpeElenco)
	{
		m_WhereConto = TRUE;
		m_WhereCdcComm = FALSE;
	}
	m_OldNomeSimbolo = m_NomeSimbolo;
	LeggiImpostazioni();
	Kvz_TRAnagSimboli anagrafica(this);
	anagrafica.SetSqlSession(GetReadOnlySqlSession());
	if (anagrafica.FindRecord(esercizio, m_NomeSimbolo, m_Modello) == TableReader::FOUND)
	{
		m_UsaAziendaEsterna = anagrafica.GetRecord()->f_UsaAziendaEsterna;
		m_Azienda = anagrafica.GetRecord()->f_Azienda;
	}
	m_AziendaCorrente = m_UsaAziendaEsterna != TRUE;
	AggiornaStatoControlli();
}

// ---- field states -------------------------------------------------------------------------------

void Kvz_CPropSimboloPBaseDoc::AggiornaStatoControlli()
{
	AggiornaStatoAzienda();
	m_NomeSimbolo.SetReadOnly(m_ModoDoc.GetItemValue() == 1);
	m_TipoBudget.SetReadOnly(m_SelBudget != TRUE);
	const BOOL bElenco = m_TipoOpeConto.GetItemValue() == kOpeElenco;
	m_WhereCdcComm.SetReadOnly(!bElenco);

	// Year and month: the upper end applies to a range only; a year without its switch goes
	// back to "the formula's year".
	Gruppo anni{m_WhereEs, m_TipoOpeEs, &m_ValDaEsConst, &m_ValDaEsSymb, m_ValDaEs, &m_ValAEsConst, &m_ValAEsSymb, m_ValAEs};
	Gruppo mesi{m_WhereMese,	   m_TipoOpeMese,   &m_ValDaMeseConst, &m_ValDaMeseSymb,
				m_ValDaMese,	   &m_ValAMeseConst, &m_ValAMeseSymb, m_ValAMese};
	for (Gruppo* g : {&anni, &mesi})
	{
		const BOOL bWhere = g->where == TRUE;
		const BOOL bTra = bWhere && g->ope.GetItemValue() == kOpeTra;
		g->ope.SetReadOnly(!bWhere);
		g->daConst->SetReadOnly(!bWhere);
		g->daSymb->SetReadOnly(!bWhere);
		g->da.SetReadOnly(!bWhere || *g->daSymb == TRUE);
		g->aConst->SetReadOnly(!bTra);
		g->aSymb->SetReadOnly(!bTra);
		g->a.SetReadOnly(!bTra || *g->aSymb == TRUE);
		// The month's range is reset by its operator alone, the year's by switch and operator.
		const BOOL bAzzeraA = g == &anni ? !bTra : g->ope.GetItemValue() != kOpeTra;
		if (bAzzeraA)
		{
			g->a.Clear();
			*g->aConst = TRUE;
			*g->aSymb = FALSE;
		}
	}
	if (m_WhereEs != TRUE)
	{
		m_ValDaEs.Clear();
		m_ValDaEsConst = TRUE;
		m_ValDaEsSymb = FALSE;
	}

	const BOOL bRangeConti = m_TipoOpeConto.GetItemValue() == kOpeTra || bElenco;
	m_ValAConto.SetReadOnly(!bRangeConti);
	if (!bRangeConti)
		m_ValAConto.Clear();
	for (DataBool* p : {&m_Economici, &m_Patrimoniali, &m_TuttiConti, &m_SelMastri})
		p->SetReadOnly(!bElenco);
	for (int k = 1; k <= 7; ++k)
		SelSeg(k).SetReadOnly(!bElenco);

	struct Importo
	{
		DataBool& where;
		DataEnum& ope;
		DataMon& da;
		DataMon& a;
	};
	for (const Importo& i : {Importo{m_WhereSaldo, m_TipoOpeSaldo, m_ValDaSaldo, m_ValASaldo},
							 Importo{m_WhereRateo, m_TipoOpeRateo, m_ValDaRateo, m_ValARateo},
							 Importo{m_WhereTotAss, m_TipoOpeTotAss, m_ValDaTotAss, m_ValATotAss}})
	{
		const BOOL bWhere = i.where == TRUE;
		const BOOL bTra = bWhere && i.ope.GetItemValue() == kOpeTra;
		i.ope.SetReadOnly(!bWhere);
		i.da.SetReadOnly(!bWhere);
		i.a.SetReadOnly(!bTra);
		if (!bTra)
			i.a.Clear();
		if (!bWhere)
			i.da.Clear();
	}
	UpdateDataView();
}

void Kvz_CPropSimboloPBaseDoc::DisableControlsForBatch()
{
	AggiornaStatoControlli();
}

// ---- checking -----------------------------------------------------------------------------------

BOOL Kvz_CPropSimboloPBaseDoc::VerificaSimbolo()
{
	auto rifiuta = [&](const CString& testo, const DataObj* pFocus) {
		AfxMessageBox(testo);
		if (pFocus)
			SetCtrlFocus(*pFocus);
		return FALSE;
	};
	const CString errNome = ControllaNome(m_NomeSimbolo, m_ModoDoc.GetItemValue() != 1, kSource);
	if (!errNome.IsEmpty())
		return rifiuta(errNome, &m_NomeSimbolo);
	if (m_WhereEs == TRUE)
	{
		if (m_ValDaEsConst == TRUE && m_ValDaEs.IsEmpty())
			return rifiuta(Testo(_T("Indicare l'esercizio.")), &m_ValDaEs);
		if (m_TipoOpeEs.GetItemValue() == kOpeTra && m_ValAEsConst == TRUE && m_ValAEs.IsEmpty())
			return rifiuta(Testo(_T("Indicare l'esercizio.")), &m_ValAEs);
	}
	if (m_WhereMese == TRUE)
	{
		if (m_ValDaMeseConst == TRUE && m_ValDaMese.IsEmpty())
			return rifiuta(Testo(_T("Indicare il mese.")), &m_ValDaMese);
		if (m_TipoOpeMese.GetItemValue() == kOpeTra && m_ValAMeseConst == TRUE && m_ValAMese.IsEmpty())
			return rifiuta(Testo(_T("Indicare il mese.")), &m_ValAMese);
	}
	const int opeConto = m_TipoOpeConto.GetItemValue();
	if (opeConto != kOpeElenco && m_ValDaConto.IsEmpty())
		return rifiuta(Testo(_T("Indicare il conto.")), &m_ValDaConto);
	if (opeConto == kOpeTra && m_ValAConto.IsEmpty())
		return rifiuta(Testo(_T("Indicare il conto.")), &m_ValAConto);
	if (opeConto == kOpeElenco && m_nSelezionati.GetValue() < 1)
		return rifiuta(Testo(_T("Selezionare almeno un conto.")), nullptr);
	struct Importo
	{
		DataBool& where;
		DataEnum& ope;
		DataMon& da;
		DataMon& a;
		LPCTSTR szMessaggio;
	};
	for (const Importo& i : {Importo{m_WhereSaldo, m_TipoOpeSaldo, m_ValDaSaldo, m_ValASaldo, _T("Indicare il saldo.")},
							 Importo{m_WhereRateo, m_TipoOpeRateo, m_ValDaRateo, m_ValARateo, _T("Indicare il rateo.")},
							 Importo{m_WhereTotAss, m_TipoOpeTotAss, m_ValDaTotAss, m_ValATotAss,
									 _T("Indicare il totale assestato.")}})
	{
		if (i.where != TRUE)
			continue;
		if (i.da.IsEmpty())
			return rifiuta(Testo(i.szMessaggio), &i.da);
		if (i.ope.GetItemValue() == kOpeTra && i.a.IsEmpty())
			return rifiuta(Testo(i.szMessaggio), &i.a);
	}
	if (m_AggregFunction.GetItemValue() == 5 &&
		!(m_WhereEs == TRUE && m_TipoOpeEs.GetItemValue() == 0 && m_WhereMese == TRUE &&
		  m_TipoOpeMese.GetItemValue() == 0 && opeConto == 0))
	{
		AfxMessageBox(Testo(_T("La condizione di estrazione e di ricerca indicata non e' univoca (estrae piu' di una ")
							_T("riga dal database).")));
		return FALSE;
	}
	// Accounts of several grouping levels count the same amounts more than once: said, not
	// refused (a user may mean it). Another company's accounts are not at hand here.
	if (opeConto != kOpeElenco && m_UsaAziendaEsterna != TRUE)
	{
		try
		{
			const CString livelli = Kvz_TestoLivelliConti(
				m_NomeSimbolo.GetString(), Kvz_ContiDellaCondizione(AfxGetDefaultSqlConnection(), EsercizioSimbolo(),
																   opeConto, m_ValDaConto, m_ValAConto));
			if (!livelli.IsEmpty())
				AfxMessageBox(livelli, MB_OK | MB_ICONWARNING);
		}
		catch (const SqlException& e)
		{
			e.ShowError();
		}
	}
	return TRUE;
}

// ---- saving -------------------------------------------------------------------------------------

BOOL Kvz_CPropSimboloPBaseDoc::SalvaSimbolo()
{
	if (!VerificaSimbolo())
		return FALSE;
	SetProgressText(Testo(_T("Salvataggio del simbolo in corso...")));
	const BOOL bOk = SalvaInTransazione(
		[&](SqlSession* pSession) -> BOOL {
			try
			{
				if (!ScriviAnagrafica(pSession, m_NomeSimbolo, KVZ_SIMBOLO_PBASE))
					return FALSE;
				const DataInt esercizio = EsercizioSimbolo();
				Kvz_TUSimboliPianoBase definizione(this);
				definizione.SetSqlSession(pSession);
				definizione.SetAutocommit(TRUE);
				const TableReader::FindResult trovataDef =
					definizione.FindRecord(esercizio, m_NomeSimbolo, m_Modello, FALSE);
				if (trovataDef != TableReader::FOUND && trovataDef != TableReader::NOT_FOUND)
					return FALSE;
				Kvz_TSimboliPianoBase& r = *definizione.GetRecord();
				PerOgniCampo(*this, r, [](DataObj& documento, DataObj& colonna) { colonna.Assign(documento); });
				r.f_Esercizio = esercizio;
				r.f_ModelloRiclassific = m_Modello;
				r.f_SelContoVuoto = m_TuttiContiDelCdcComm;
				r.f_ElencoContiCdcComm = m_SelContiCdcComm;
				r.f_ElencoConti = m_TipoOpeConto.GetItemValue() == kOpeElenco;
				if (!definizione.UpdateRecord())
					return FALSE;
				ScriviSelezione();
				CancellaCdcCommNonSelezionati();
				return TRUE;
			}
			catch (const SalvataggioFallito&)
			{
				return FALSE;
			}
		},
		kSource);
	// What was done stays as the last word of the save.
	SetProgressText(bOk ? CString::Formatted(Testo(_T("Simbolo %s salvato (modello %s, esercizio %d).")),
											 m_NomeSimbolo.GetString().GetString(), m_Modello.GetString().GetString(),
											 static_cast<int>(EsercizioSimbolo().GetValue()))
						: CString());
	return bOk;
}

void Kvz_CPropSimboloPBaseDoc::ScriviSelezione()
{
	const DataInt esercizio = EsercizioSimbolo();
	SqlSession* pSession = GetUpdatableSqlSession();
	Kvz_TElencoContiSimboloPBase elenco;
	// Every earlier row of the symbol goes, whatever its operator.
	pSession->ExecuteSQL(CString::Formatted("DELETE FROM %s WHERE %s = ? AND %s = ? AND %s = ?",
											elenco.GetTableName().GetString(),
											elenco.GetColumnName(&elenco.f_NomeSimbolo).GetString(),
											elenco.GetColumnName(&elenco.f_ModelloRiclassific).GetString(),
											elenco.GetColumnName(&elenco.f_Esercizio).GetString()),
						 {&m_NomeSimbolo, &m_Modello, &esercizio});
	if (m_TipoOpeConto.GetItemValue() != kOpeElenco)
		return;

	SqlTable t(&elenco, pSession, this);
	t.Open(TRUE);
	t.SetAutocommit(TRUE);
	auto scrivi = [&](const DataStr& conto, const DataEnum& tipo, const DataStr& cdcComm, const DataEnum& segno,
					  BOOL bContoVuoto) {
		t.AddNew();
		elenco.f_Esercizio = esercizio;
		elenco.f_ModelloRiclassific = m_Modello;
		elenco.f_NomeSimbolo = m_NomeSimbolo;
		elenco.f_ContoSelez = conto;
		elenco.f_TipoCentroComm = tipo;
		elenco.f_CentroCommessa = cdcComm;
		elenco.f_SegnoConto = segno;
		elenco.f_SelContoVuoto = bContoVuoto;
		t.Update();
	};
	if (m_WhereConto == TRUE)
	{
		for (int i = 0; i < m_pDBTSelConti->GetSize(); ++i)
		{
			const Kvz_TEnhAnagContiKvz* pConto = m_pDBTSelConti->GetConto(i);
			if (pConto->l_Sel != TRUE)
				continue;
			BOOL bCoppie = FALSE;
			for (int j = 0; j < m_ContiCdcComm.GetSize(); ++j)
			{
				const Kvz_TEnhCentriCommesseContiKvz* p = m_ContiCdcComm.GetAt(j);
				if (p->f_ContoKvz != pConto->f_ContoKvz || p->l_Modified == TRUE)
					continue;
				scrivi(pConto->f_ContoKvz, p->f_Tipo, p->f_CentroCommessa, p->l_SegnoConto, FALSE);
				bCoppie = TRUE;
			}
			if (!bCoppie)
				scrivi(pConto->f_ContoKvz, DataEnum(E_KVZ_TIPOCENTROCOMM, 0), DataStr(), pConto->l_SegnoConto, FALSE);
		}
	}
	else if (m_WhereCdcComm == TRUE)
	{
		for (int i = 0; i < m_pDBTSelCdcComm->GetSize(); ++i)
		{
			const Kvz_ViewCdcCommesse* pCdc = m_pDBTSelCdcComm->GetCdcComm(i);
			if (pCdc->l_Sel != TRUE)
				continue;
			if (m_SelContiCdcComm == TRUE)
			{
				for (int j = 0; j < m_CdcCommConti.GetSize(); ++j)
				{
					const Kvz_TEnhCentriCommesseContiKvz* p = m_CdcCommConti.GetAt(j);
					if (p->f_CentroCommessa == pCdc->f_CentroCommessa &&
						p->f_Tipo.GetValue() == pCdc->f_Tipo.GetValue())
						scrivi(p->f_ContoKvz, pCdc->f_Tipo, pCdc->f_CentroCommessa, p->l_SegnoConto, FALSE);
				}
			}
			else
				scrivi(DataStr(), pCdc->f_Tipo, pCdc->f_CentroCommessa, pCdc->l_SegnoConto, m_TuttiContiDelCdcComm);
		}
	}
	t.Close();
	ScriviSplitSelezionati();
}

// The splits the ticks asked for that do not exist yet; a pair without an account is no split.
void Kvz_CPropSimboloPBaseDoc::ScriviSplitSelezionati()
{
	Kvz_ArrayContiCdcComm* pCoppie = m_WhereConto == TRUE ? &m_ContiCdcComm : m_WhereCdcComm == TRUE ? &m_CdcCommConti : nullptr;
	if (!pCoppie)
		return;
	Kvz_TCentriCommesseContiKvz split;
	SqlTable t(&split, GetUpdatableSqlSession(), this);
	t.Open(TRUE);
	t.SetAutocommit(TRUE);
	t.SelectAll();
	t.AddParam("Eserc", split.f_Esercizio);
	t.AddFilterColumn(split.f_Esercizio);
	t.AddParam("Conto", split.f_ContoKvz);
	t.AddFilterColumn(split.f_ContoKvz);
	t.AddParam("Tipo", split.f_Tipo);
	t.AddFilterColumn(split.f_Tipo);
	t.AddParam("CdcComm", split.f_CentroCommessa);
	t.AddFilterColumn(split.f_CentroCommessa);
	const DataInt esercizio = EsercizioSimbolo();
	for (int i = 0; i < pCoppie->GetSize(); ++i)
	{
		const Kvz_TEnhCentriCommesseContiKvz* p = pCoppie->GetAt(i);
		if (p->f_ContoKvz.IsEmpty() || p->f_CentroCommessa.IsEmpty())
			continue;
		// Under WhereConto only the pairs of ticked accounts are part of the symbol.
		if (m_WhereConto == TRUE)
		{
			bool bContoSel = false;
			for (int j = 0; j < m_pDBTSelConti->GetSize() && !bContoSel; ++j)
				bContoSel = m_pDBTSelConti->GetConto(j)->l_Sel == TRUE &&
							m_pDBTSelConti->GetConto(j)->f_ContoKvz == p->f_ContoKvz;
			if (!bContoSel)
				continue;
		}
		t.SetParamValue("Eserc", esercizio);
		t.SetParamValue("Conto", p->f_ContoKvz);
		t.SetParamValue("Tipo", p->f_Tipo);
		t.SetParamValue("CdcComm", p->f_CentroCommessa);
		t.Query();
		if (!t.IsEOF())
			continue;
		CString descrizione;
		for (int j = 0; j < m_pDBTSelCdcComm->GetSize(); ++j)
		{
			const Kvz_ViewCdcCommesse* pCdc = m_pDBTSelCdcComm->GetCdcComm(j);
			if (pCdc->f_CentroCommessa == p->f_CentroCommessa && pCdc->f_Tipo.GetValue() == p->f_Tipo.GetValue())
				descrizione = pCdc->f_Descrizione.GetString();
		}
		t.AddNew();
		split.f_Esercizio = esercizio;
		split.f_ContoKvz = p->f_ContoKvz;
		split.f_CentroCommessa = p->f_CentroCommessa;
		split.f_Tipo = DataEnum(E_KVZ_TIPOCENTROCOMM, p->f_Tipo.GetItemValue() == 1 ? 1 : 0);
		split.f_Descrizione = descrizione;
		split.f_InseritoManualmente = FALSE;
		split.f_PercRipartizione = 0.0;
		split.f_InseritoDaSimbolo = TRUE;
		t.Update();
	}
	t.Close();
}

// ---- splits and base plan that follow the selection --------------------------------------------

void Kvz_CPropSimboloPBaseDoc::CancellaCdcCommNonSelezionati()
{
	// The accounts (or cost centres/jobs) whose selection changed since the grids were filled.
	std::vector<DataStr> cambiati;
	if (m_WhereConto == TRUE)
	{
		for (int i = 0; i < m_pDBTSelConti->GetSize(); ++i)
		{
			const Kvz_TEnhAnagContiKvz* p = m_pDBTSelConti->GetConto(i);
			if (p->l_SelCommCdcModif == TRUE || (p->l_Sel == TRUE) != (p->l_OldSel == TRUE))
				cambiati.push_back(p->f_ContoKvz);
		}
	}
	else if (m_WhereCdcComm == TRUE)
	{
		for (int i = 0; i < m_pDBTSelCdcComm->GetSize(); ++i)
		{
			const Kvz_ViewCdcCommesse* p = m_pDBTSelCdcComm->GetCdcComm(i);
			if (p->l_SelContiModif == TRUE || (p->l_Sel == TRUE) != (p->l_OldSel == TRUE))
				cambiati.push_back(p->f_CentroCommessa);
		}
	}
	if (cambiati.empty())
		return;

	const DataInt esercizio = EsercizioSimbolo();
	const DataDate oggi = AfxGetApplicationDate();
	Kvz_TCentriCommesseContiKvz split;
	SqlTable tSplit(&split, GetUpdatableSqlSession(), this);
	tSplit.Open(TRUE);
	tSplit.SetAutocommit(TRUE);
	tSplit.SelectAll();
	tSplit.AddParam("Anno", split.f_Esercizio);
	tSplit.AddFilterColumn(split.f_Esercizio);
	tSplit.AddParam("InsDaSimb", split.f_InseritoDaSimbolo);
	tSplit.AddFilterColumn(split.f_InseritoDaSimbolo);
	// One bound parameter per code of the list.
	const DataStr& colonna = m_WhereConto == TRUE ? split.f_ContoKvz : split.f_CentroCommessa;
	CString segnaposti;
	for (size_t i = 0; i < cambiati.size(); ++i)
	{
		const CString nome = CString::Formatted("In%d", static_cast<int>(i));
		tSplit.AddParam(nome, colonna);
		segnaposti += i ? _T(",?") : _T("?");
	}
	tSplit.m_strFilter += CString::Formatted(" AND %s in (%s)", tSplit.GetColumnName(colonna).GetString(),
											 segnaposti.GetString());
	tSplit.AddSortColumn(split.f_Esercizio);
	tSplit.AddSortColumn(split.f_ContoKvz);
	tSplit.AddSortColumn(split.f_CentroCommessa);
	tSplit.SetParamValue("Anno", esercizio);
	tSplit.SetParamValue("InsDaSimb", DataBool(TRUE));
	for (size_t i = 0; i < cambiati.size(); ++i)
		tSplit.SetParamValue(CString::Formatted("In%d", static_cast<int>(i)), cambiati[i]);

	// Read first: the loop below changes the table the cursor walks.
	std::vector<std::unique_ptr<Kvz_TCentriCommesseContiKvz>> splits;
	for (tSplit.Query(); !tSplit.IsEOF(); tSplit.MoveNext())
	{
		auto p = std::make_unique<Kvz_TCentriCommesseContiKvz>();
		*p = split;
		splits.push_back(std::move(p));
	}

	Kvz_TElencoContiSimboloPBase elenco;
	SqlTable tElenco(&elenco, GetUpdatableSqlSession(), this);
	tElenco.Open();
	tElenco.Select(elenco.f_NomeSimbolo);
	tElenco.AddParam("Anno", elenco.f_Esercizio);
	tElenco.AddFilterColumn(elenco.f_Esercizio);
	tElenco.AddParam("Conto", elenco.f_ContoSelez);
	tElenco.AddFilterColumn(elenco.f_ContoSelez);
	tElenco.AddParam("Tipo", elenco.f_TipoCentroComm);
	tElenco.AddFilterColumn(elenco.f_TipoCentroComm);
	tElenco.AddParam("CdcComm", elenco.f_CentroCommessa);
	tElenco.AddFilterColumn(elenco.f_CentroCommessa);

	Jex_TUPianoBaseRighe righe(this);
	righe.SetSqlSession(GetUpdatableSqlSession());
	righe.SetAutocommit(TRUE);
	Kvz_TRAnagContiKvz conti(this);
	conti.SetSqlSession(GetReadOnlySqlSession());

	for (const auto& pSplit : splits)
	{
		const Kvz_TCentriCommesseContiKvz& s = *pSplit;
		tElenco.SetParamValue("Anno", esercizio);
		tElenco.SetParamValue("Conto", s.f_ContoKvz);
		tElenco.SetParamValue("Tipo", s.f_Tipo);
		tElenco.SetParamValue("CdcComm", s.f_CentroCommessa);
		tElenco.Query();
		const bool bSelezionato = !tElenco.IsEOF();

		DataLng id = CercaIDPianoBase(s.f_ContoKvz, s.f_Tipo, s.f_CentroCommessa);
		if (bSelezionato)
		{
			if (id.GetValue() <= 0)
			{
				// A header needs its own id and number before it or its months are written.
				DataLng nuovoId;
				DataStr numero;
				if (!m_pIDManager->GetNextID(nuovoId) || nuovoId.GetValue() <= 0 ||
					!m_pNumManager->OttieniProssimoNumero(oggi, numero) || numero.IsEmpty())
				{
					AfxMessageBox(CString::Formatted(
						Testo(_T("Il piano base del conto %s, centro/commessa %s non ha un identificativo o un ")
							  _T("numero: il simbolo non è stato salvato.")),
						s.f_ContoKvz.GetString().GetString(), s.f_CentroCommessa.GetString().GetString()));
					throw SalvataggioFallito();
				}
				SqlTable& t = *m_pTblPianoBaseTesta;
				t.AddNew();
				m_PianoBaseTesta.f_IDPianoBase = nuovoId;
				m_PianoBaseTesta.f_DataCreazione = oggi;
				m_PianoBaseTesta.f_ContoKvz = s.f_ContoKvz;
				m_PianoBaseTesta.f_CentroCommessa = s.f_CentroCommessa;
				m_PianoBaseTesta.f_TipoCentroComm = s.f_Tipo;
				m_PianoBaseTesta.f_Esercizio = esercizio;
				m_PianoBaseTesta.f_TipoBudget = DataEnum(E_KVZ_TIPOBUDGET, 3);
				m_PianoBaseTesta.f_CodPianoBase = numero;
				m_PianoBaseTesta.f_DataUltModifica = oggi;
				t.Update();
				id = nuovoId;
			}
			const BOOL bConto = conti.FindRecord(esercizio, s.f_ContoKvz) == TableReader::FOUND;
			for (int mese = 1; mese <= 12; ++mese)
			{
				const TableReader::FindResult r = righe.FindRecord(id, DataInt(mese), FALSE);
				if (r == TableReader::FOUND)
					continue;
				if (r != TableReader::NOT_FOUND)
					throw SalvataggioFallito();
				Kvz_TEnhPianoBaseRighe& riga = *righe.GetRecord();
				riga.f_IDPianoBase = id;
				riga.f_Mese = mese;
				riga.f_ContoKvz = s.f_ContoKvz;
				riga.f_CentroCommessa = s.f_CentroCommessa;
				riga.f_TipoCentroComm = s.f_Tipo;
				riga.f_Esercizio = esercizio;
				if (bConto)
					riga.f_TipoMastro = conti.GetRecord()->f_TipoMastro;
				for (DataObj* pImporto : std::initializer_list<DataObj*>{&riga.f_SaldoContabile, &riga.f_SaldoPrecedente, &riga.f_SaldoDiffAccettato,
										  &riga.f_ImportoRateo, &riga.f_RateoDaPrevisionale, &riga.f_TotaleAssestato})
					pImporto->Clear();
				if (!righe.UpdateRecord())
					throw SalvataggioFallito();
			}
			continue;
		}

		// Selected by no symbol any more.
		if (s.f_PercRipartizione.IsEmpty())
			GetUpdatableSqlSession()->ExecuteSQL(
				CString::Formatted("DELETE FROM %s WHERE %s = ? AND %s = ? AND %s = ? AND %s = ?",
								   split.GetTableName().GetString(), split.GetColumnName(&split.f_Esercizio).GetString(),
								   split.GetColumnName(&split.f_ContoKvz).GetString(),
								   split.GetColumnName(&split.f_Tipo).GetString(),
								   split.GetColumnName(&split.f_CentroCommessa).GetString()),
				{&s.f_Esercizio, &s.f_ContoKvz, &s.f_Tipo, &s.f_CentroCommessa});
		if (id.GetValue() <= 0)
			continue;
		// Months with any amount keep the header and its months.
		bool bRighe = false, bTuttiZero = true;
		for (int mese = 1; mese <= 12 && bTuttiZero; ++mese)
		{
			if (righe.FindRecord(id, DataInt(mese), FALSE) != TableReader::FOUND)
				continue;
			bRighe = true;
			const Kvz_TEnhPianoBaseRighe& riga = *righe.GetRecord();
			for (const DataObj* pImporto : std::initializer_list<const DataObj*>{&riga.f_SaldoContabile, &riga.f_SaldoPrecedente, &riga.f_SaldoDiffAccettato,
											&riga.f_ImportoRateo, &riga.f_RateoDaPrevisionale, &riga.f_TotaleAssestato})
				bTuttiZero = bTuttiZero && pImporto->IsEmpty();
		}
		if (!bRighe || !bTuttiZero)
			continue;
		Jex_TUPianoBaseTesta testa(this);
		testa.SetSqlSession(GetUpdatableSqlSession());
		testa.SetAutocommit(TRUE);
		if (testa.FindRecord(id, FALSE) == TableReader::FOUND && !testa.DeleteRecord())
			throw SalvataggioFallito();
		for (int mese = 1; mese <= 12; ++mese)
			if (righe.FindRecord(id, DataInt(mese), FALSE) == TableReader::FOUND && !righe.DeleteRecord())
				throw SalvataggioFallito();
	}
	tElenco.Close();
	tSplit.Close();
}

// ---- closing and the commands that save ---------------------------------------------------------

void Kvz_CPropSimboloPBaseDoc::OnCloseDocument()
{
	// The confirmation saved already (it refuses to confirm what it could not save).
	ChiudiConnessioneEsterna();
	RestituisciAlEditore(m_bConfermato == TRUE, m_ModoDoc.GetItemValue() != 1, m_NomeSimbolo);
	Kvz_CPropSimboloDoc::OnCloseDocument();
}

void Kvz_CPropSimboloPBaseDoc::OnCopiaInNuovoSimbolo()
{
	if (!SalvaSimbolo())
		return;
	m_ModoDoc = DataEnum(E_KVZ_MODODOCSIMBOLO, 0);
	m_NomeSimbolo.Clear();
	m_OldNomeSimbolo.Clear();
	SetCtrlFocus(m_NomeSimbolo);
	AggiornaStatoControlli();
	UpdateDataView();
}

// ---- cost-centre/job ticks and signs ------------------------------------------------------------

void Kvz_CPropSimboloPBaseDoc::OnSelCdcCommChanged()
{
	Kvz_ViewCdcCommesse* pCdc = m_pDBTSelCdcComm->GetCurrentRecord();
	if (!pCdc)
		return;
	const BOOL bContatori = m_TipoRiga.GetItemValue() != 1;
	if (pCdc->l_Sel == TRUE)
	{
		if (bContatori)
		{
			Kvz_CPropSimboloPBaseDoc::IncrementaContatore(pCdc->l_ContatoreDettaglio);
			Kvz_CPropSimboloPBaseDoc::IncrementaContatore(pCdc->l_ContatoreGenerale);
		}
		m_nSelezionati = m_nSelezionati + 1;
	}
	else
	{
		if (bContatori)
		{
			Kvz_CPropSimboloPBaseDoc::DecrementaContatore(pCdc->l_ContatoreDettaglio);
			Kvz_CPropSimboloPBaseDoc::DecrementaContatore(pCdc->l_ContatoreGenerale);
		}
		m_nSelezionati = m_nSelezionati - 1;
	}
	if (m_WhereCdcComm == TRUE)
	{
		for (int i = 0; i < m_pDBTSelConti->GetSize(); ++i)
		{
			Kvz_TEnhAnagContiKvz* pConto = m_pDBTSelConti->GetConto(i);
			if (pConto->l_Sel == TRUE && pCdc->l_Sel != TRUE && bContatori)
			{
				Kvz_CPropSimboloPBaseDoc::DecrementaContatore(pConto->l_ContatoreDettaglio);
				Kvz_CPropSimboloPBaseDoc::DecrementaContatore(pConto->l_ContatoreGenerale);
			}
			AggiornaContoDelCdcComm(pConto, pCdc);
		}
	}
	else
	{
		Kvz_TEnhAnagContiKvz* pConto = m_pDBTSelConti->GetCurrentRecord();
		if (!pConto && m_pDBTSelConti->GetSize() > 0)
			pConto = m_pDBTSelConti->GetConto(0);
		// No account: nothing to pair the cost centre/job with.
		if (pConto)
		{
			AggiornaCdcCommDelConto(pConto, pCdc);
			pConto->l_SelCommCdcModif = TRUE;
		}
	}
	UpdateDataView();
}

void Kvz_CPropSimboloPBaseDoc::OnSegnoCdcCommChanged()
{
	Kvz_ViewCdcCommesse* pCdc = m_pDBTSelCdcComm->GetCurrentRecord();
	Kvz_TEnhAnagContiKvz* pConto = m_pDBTSelConti->GetCurrentRecord();
	if (!pCdc || !pConto || pCdc->l_Sel != TRUE || m_WhereConto != TRUE)
		return;
	Kvz_TEnhCentriCommesseContiKvz* pCoppia = nullptr;
	int nIndice = -1;
	if (CercaCdcCommDelConto(pConto, pCdc, pCoppia, nIndice) && pCoppia)
	{
		pCoppia->l_SegnoConto = pCdc->l_SegnoConto;
		UpdateDataView();
	}
}

void Kvz_CPropSimboloPBaseDoc::OnSegnoContoChanged()
{
	Kvz_TEnhAnagContiKvz* pConto = m_pDBTSelConti->GetCurrentRecord();
	Kvz_ViewCdcCommesse* pCdc = m_pDBTSelCdcComm->GetCurrentRecord();
	if (!pConto || !pCdc || pConto->l_Sel != TRUE || m_WhereCdcComm != TRUE)
		return;
	Kvz_TEnhCentriCommesseContiKvz* pCoppia = nullptr;
	int nIndice = -1;
	if (CercaContoDelCdcComm(pConto, pCdc, pCoppia, nIndice) && pCoppia)
	{
		pCoppia->l_SegnoConto = pConto->l_SegnoConto;
		UpdateDataView();
	}
}
