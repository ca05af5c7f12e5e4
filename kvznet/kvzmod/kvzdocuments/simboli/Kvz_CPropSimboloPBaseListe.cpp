// The account and cost-centre/job lists of the base-plan symbol document: the account query
// with its level filter, the grid that follows the other grid's current row, the two pair
// lists, select and deselect all, "Carica da tabelle" and the grouping-level check.
#include <set>

#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_CPropSimboloPBaseDoc.h"
#include "kvznet/kvzmod/kvzdocuments/formule/Kvz_CUtilizzaFormuleDoc.h"
#include "platform/erp/erpledgerdbl/TCostCenters.h"
#include "platform/erp/erpledgerdbl/TJobs.h"
#include "platform/plvgenlib/LibraryEntry.h"
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
const DataEnum kCentro(E_KVZ_TIPOCENTROCOMM, 0);
const DataEnum kCommessa(E_KVZ_TIPOCENTROCOMM, 1);

void Chiudi(SqlTable& t)
{
	if (t.IsOpen())
		t.Close();
}
}  // namespace

// ---- usage counters and grid rows -------------------------------------------------------------

void Kvz_CPropSimboloPBaseDoc::IncrementaContatore(DataLng& aContatore)
{
	aContatore = aContatore.GetValue() + 1;
}

void Kvz_CPropSimboloPBaseDoc::DecrementaContatore(DataLng& aContatore)
{
	if (aContatore.GetValue() > 0)
		aContatore = aContatore.GetValue() - 1;
}

DataEnum Kvz_CPropSimboloPBaseDoc::TipoContatoreCdcComm(const DataEnum& aTipoCdcComm)
{
	return DataEnum(E_KVZ_TIPOSIMBOLO, aTipoCdcComm.GetItemValue() == 0 ? 4 : 5);
}

Kvz_ViewCdcCommesse* Kvz_CPropSimboloPBaseDoc::AggiungiRigaCdcComm(const DataInt& aEsercizio, const DataStr& aCodice,
																 const DataEnum& aTipo, const DataStr& aDescrizione)
{
	auto* pRiga = static_cast<Kvz_ViewCdcCommesse*>(m_pDBTSelCdcComm->AddRecord());
	pRiga->f_Esercizio = aEsercizio;
	pRiga->f_CentroCommessa = aCodice;
	pRiga->f_Tipo = aTipo;
	pRiga->f_Descrizione = aDescrizione;
	const DataEnum tipoCont = TipoContatoreCdcComm(aTipo);
	pRiga->l_ContatoreDettaglio = ContatoreDettaglio(tipoCont, aCodice);
	pRiga->l_ContatoreGenerale = ContatoreGenerale(tipoCont, aCodice);
	return pRiga;
}

// ---- account query ------------------------------------------------------------------------------

CString Kvz_CPropSimboloPBaseDoc::CondizioneLivello(const CString& strColonna, std::vector<int>& lunghezze)
{
	lunghezze.clear();
	const Kvz_TParametri* pPar = m_TRParametri.GetRecord();
	const int lenSeg[] = {pPar->f_LenSeg1, pPar->f_LenSeg2, pPar->f_LenSeg3, pPar->f_LenSeg4,
						  pPar->f_LenSeg5, pPar->f_LenSeg6, pPar->f_LenSeg7};
	int len = pPar->f_LenMastro;
	if (m_SelMastri == TRUE)
		lunghezze.push_back(len);
	for (int k = 1; k <= 7; ++k)
	{
		len += lenSeg[k - 1];
		if (SelSeg(k) == TRUE)
			lunghezze.push_back(len);
	}
	if (lunghezze.empty())
		return CString();
	// The lengths are bound, never written into the text.
	CString strCond = " AND (";
	for (size_t i = 0; i < lunghezze.size(); ++i)
		strCond += CString::Formatted("%sLEN(%s) = ? ", i ? " OR " : "", strColonna.GetString());
	strCond += ")";
	return strCond;
}

void Kvz_CPropSimboloPBaseDoc::PreparaQueryConti(Kvz_TEnhAnagContiKvz& aConto, SqlTable& aTblConti,
												 Kvz_TElencoContiSimboloPBase& aElenco, SqlTable& aTblElenco,
												 Kvz_TAnagContiKvz_Ext& aContoExt, SqlTable& aTblContiExt)
{
	ApriCursoriPianoBase();
	const DataInt esercizio = EsercizioSimbolo();
	if (m_VisSoloSel == TRUE)
	{
		aTblElenco.SelectAll();
		aTblElenco.AddSortColumn(aElenco.f_ContoSelez);
		aTblElenco.AddParam("p1", aElenco.f_Esercizio);
		aTblElenco.AddFilterColumn(aElenco.f_Esercizio);
		aTblElenco.AddParam("p9", aElenco.f_ModelloRiclassific);
		aTblElenco.AddFilterColumn(aElenco.f_ModelloRiclassific);
		aTblElenco.AddParam("p8", aElenco.f_NomeSimbolo);
		aTblElenco.AddFilterColumn(aElenco.f_NomeSimbolo);
		aTblElenco.SetParamValue("p1", esercizio);
		aTblElenco.SetParamValue("p9", m_Modello);
		aTblElenco.SetParamValue("p8", m_NomeSimbolo);
		return;
	}

	const BOOL bEsterna = IsAziendaEsterna();
	SqlTable& t = bEsterna ? aTblContiExt : aTblConti;
	const DataObj& colEsercizio = bEsterna ? static_cast<const DataObj&>(aContoExt.f_Esercizio) : aConto.f_Esercizio;
	const DataObj& colConto = bEsterna ? static_cast<const DataObj&>(aContoExt.f_ContoKvz) : aConto.f_ContoKvz;
	const DataObj& colTipo = bEsterna ? static_cast<const DataObj&>(aContoExt.f_TipoConto) : aConto.f_TipoConto;
	t.SelectAll();
	t.AddSortColumn(colConto);
	t.AddParam("p1", colEsercizio);
	t.AddFilterColumn(colEsercizio);
	t.SetParamValue("p1", esercizio);
	// The range applies only with both ends given.
	if (!m_ValDaConto.IsEmpty() && !m_ValAConto.IsEmpty())
	{
		t.AddParam("p2", colConto);
		t.AddParam("p3", colConto);
		t.AddBetweenColumn(colConto);
		t.SetParamValue("p2", m_ValDaConto);
		t.SetParamValue("p3", m_ValAConto);
	}
	if (m_TuttiConti != TRUE && (m_Economici == TRUE || m_Patrimoniali == TRUE))
	{
		const DataEnum tipo(E_TIPOCONTO, m_Economici == TRUE ? 0 : 1);
		t.AddParam("p4", colTipo);
		t.AddFilterColumn(colTipo);
		if (bEsterna)
			t.SetParamValue("p4", DataLng(static_cast<long>(tipo.GetValue())));
		else
			t.SetParamValue("p4", tipo);
	}
	std::vector<int> lunghezze;
	const CString strCond = CondizioneLivello(t.GetColumnName(colConto), lunghezze);
	if (!strCond.IsEmpty())
	{
		t.m_strFilter += strCond;
		for (size_t i = 0; i < lunghezze.size(); ++i)
		{
			const CString name = CString::Formatted("l%d", static_cast<int>(i + 1));
			t.AddParam(name, DataInt());
			t.SetParamValue(name, DataInt(lunghezze[i]));
		}
	}
}

// ---- grouping level -----------------------------------------------------------------------------

BOOL Kvz_CPropSimboloPBaseDoc::ControllaLivelloConto(const DataStr& aContoPadre)
{
	Kvz_TAnagContiKvz conto;
	SqlTable t(&conto, GetReadOnlySqlSession(), this);
	std::set<CString> visti;
	DataStr padre = aContoPadre;
	BOOL bEsito = TRUE;
	try
	{
		t.Open();
		t.SelectAll();
		t.AddParam("Esercizio", conto.f_Esercizio);
		t.AddFilterColumn(conto.f_Esercizio);
		t.AddParam("ContoPadre", conto.f_ContoKvz);
		t.AddFilterColumn(conto.f_ContoKvz);
		while (!padre.IsEmpty())
		{
			// A chain of parents that comes back on itself would never end.
			if (!visti.insert(padre.GetString()).second)
			{
				AfxMessageBox(CString::Formatted(
					Testo(_T("Il conto %s ricorre tra i propri conti padre: il controllo del livello di raggruppamento si ferma.")),
					padre.GetString().GetString()));
				break;
			}
			t.SetParamValue("Esercizio", EsercizioSimbolo());
			t.SetParamValue("ContoPadre", padre);
			t.Query();
			if (t.IsEOF())
				break;
			if (conto.f_UltimoLivelloRaggrupp == TRUE)
			{
				bEsito = FALSE;
				break;
			}
			padre = conto.f_ContoKvzPadre;
		}
	}
	catch (const SqlException&)
	{
		// Read as if the account had not been found.
		ASSERT_RELEASE_FAILED("0", "Kvz_CPropSimboloPBaseDoc::ControllaLivelloConto", kSource);
	}
	Chiudi(t);
	return bEsito;
}

void Kvz_CPropSimboloPBaseDoc::CopiaContoEsterno(const Kvz_TAnagContiKvz_Ext& aEsterno, Kvz_TEnhAnagContiKvz& aConto)
{
	aConto.f_Esercizio = aEsterno.f_Esercizio;
	aConto.f_ContoKvz = aEsterno.f_ContoKvz;
	aConto.f_TipoConto = DataEnum(static_cast<DWORD>(aEsterno.f_TipoConto.GetValue()));
	aConto.f_TipoMastro = DataEnum(static_cast<DWORD>(aEsterno.f_TipoMastro.GetValue()));
	aConto.f_Descrizione = aEsterno.f_Descrizione;
	aConto.f_ContoCollegato = aEsterno.f_ContoCollegato;
	aConto.f_ContoKvzPadre = aEsterno.f_ContoKvzPadre;
	aConto.f_UltimoLivelloRaggrupp = aEsterno.f_UltimoLivelloRaggrupp;
}

// ---- base-plan cursors --------------------------------------------------------------------------

void Kvz_CPropSimboloPBaseDoc::ApriCursoriPianoBase()
{
	if (m_pTblPianoBaseTesta && !m_pTblPianoBaseTesta->IsOpen())
	{
		SqlTable& t = *m_pTblPianoBaseTesta;
		t.Open(TRUE);
		t.SetAutocommit(TRUE);
		t.SelectAll();
		t.AddParam("Anno", m_PianoBaseTesta.f_Esercizio);
		t.AddFilterColumn(m_PianoBaseTesta.f_Esercizio);
		t.AddParam("Conto", m_PianoBaseTesta.f_ContoKvz);
		t.AddFilterColumn(m_PianoBaseTesta.f_ContoKvz);
		t.AddParam("CdcComm", m_PianoBaseTesta.f_CentroCommessa);
		t.AddFilterColumn(m_PianoBaseTesta.f_CentroCommessa);
		t.AddParam("Tipo", m_PianoBaseTesta.f_TipoCentroComm);
		t.AddFilterColumn(m_PianoBaseTesta.f_TipoCentroComm);
	}
	if (m_pTblPianoBaseRighe && !m_pTblPianoBaseRighe->IsOpen())
	{
		SqlTable& t = *m_pTblPianoBaseRighe;
		t.Open(TRUE);
		t.SetAutocommit(TRUE);
		t.SelectAll();
		t.AddParam("IDPBase", m_PianoBaseRighe.f_IDPianoBase);
		t.AddFilterColumn(m_PianoBaseRighe.f_IDPianoBase);
		t.AddParam("Mese", m_PianoBaseRighe.f_Mese);
		t.AddFilterColumn(m_PianoBaseRighe.f_Mese);
	}
}

DataLng Kvz_CPropSimboloPBaseDoc::CercaIDPianoBase(const DataStr& aConto, const DataEnum& aTipo, const DataStr& aCdcComm)
{
	try
	{
		ApriCursoriPianoBase();
		SqlTable& t = *m_pTblPianoBaseTesta;
		t.SetParamValue("Anno", EsercizioSimbolo());
		t.SetParamValue("Conto", aConto);
		t.SetParamValue("CdcComm", aCdcComm);
		t.SetParamValue("Tipo", aTipo);
		t.Query();
		if (!t.IsEOF())
			return m_PianoBaseTesta.f_IDPianoBase;
	}
	catch (const SqlException& e)
	{
		ASSERT_RELEASE_FAILED("0", "Kvz_CPropSimboloPBaseDoc::CercaIDPianoBase", kSource);
		e.ShowError(_T(""));
	}
	return DataLng(-1);
}

// ---- pair lists ---------------------------------------------------------------------------------

BOOL Kvz_CPropSimboloPBaseDoc::CercaCdcCommDelConto(Kvz_TEnhAnagContiKvz* pConto, Kvz_ViewCdcCommesse* pCdcComm,
												   Kvz_TEnhCentriCommesseContiKvz*& pCoppia, int& nIndex)
{
	pCoppia = nullptr;
	nIndex = -1;
	if (!pConto || !pCdcComm)
		return FALSE;
	pCoppia = m_ContiCdcComm.Cerca(pConto->f_ContoKvz, pCdcComm->f_Tipo, pCdcComm->f_CentroCommessa, &nIndex);
	return pCoppia != nullptr;
}

void Kvz_CPropSimboloPBaseDoc::AggiornaCdcCommDelConto(Kvz_TEnhAnagContiKvz* pConto, Kvz_ViewCdcCommesse* pCdcComm)
{
	if (m_WhereConto != TRUE || !pConto || !pCdcComm)
		return;
	if (pConto->l_Sel != TRUE)
		pCdcComm->l_Sel = FALSE;
	pCdcComm->l_Sel.SetReadOnly(pConto->l_Sel != TRUE);
	Kvz_TEnhCentriCommesseContiKvz* pCoppia = nullptr;
	int nIndex = -1;
	const BOOL bTrovato = CercaCdcCommDelConto(pConto, pCdcComm, pCoppia, nIndex);
	if (bTrovato && pCdcComm->l_Sel != TRUE)
		m_ContiCdcComm.RemoveAt(nIndex);
	else if (!bTrovato && pCdcComm->l_Sel == TRUE)
		m_ContiCdcComm.Aggiungi(pConto->f_Esercizio, pConto->f_ContoKvz, pCdcComm->f_Tipo, pCdcComm->f_CentroCommessa,
								pCdcComm->l_SegnoConto);
}

BOOL Kvz_CPropSimboloPBaseDoc::CercaContoDelCdcComm(Kvz_TEnhAnagContiKvz* pConto, Kvz_ViewCdcCommesse* pCdcComm,
												   Kvz_TEnhCentriCommesseContiKvz*& pCoppia, int& nIndex)
{
	pCoppia = nullptr;
	nIndex = -1;
	if (!pConto || !pCdcComm)
		return FALSE;
	pCoppia = m_CdcCommConti.Cerca(pConto->f_ContoKvz, pCdcComm->f_Tipo, pCdcComm->f_CentroCommessa, &nIndex);
	return pCoppia != nullptr;
}

BOOL Kvz_CPropSimboloPBaseDoc::AggiornaContoDelCdcComm(Kvz_TEnhAnagContiKvz* pConto, Kvz_ViewCdcCommesse* pCdcComm)
{
	if (m_WhereCdcComm != TRUE || !pConto || !pCdcComm)
		return FALSE;
	if (pCdcComm->l_Sel != TRUE)
		pConto->l_Sel = FALSE;
	pConto->l_Sel.SetReadOnly(pCdcComm->l_Sel != TRUE);
	Kvz_TEnhCentriCommesseContiKvz* pCoppia = nullptr;
	int nIndex = -1;
	const BOOL bTrovato = CercaContoDelCdcComm(pConto, pCdcComm, pCoppia, nIndex);
	if (bTrovato && pConto->l_Sel != TRUE)
		m_CdcCommConti.RemoveAt(nIndex);
	else if (!bTrovato && pConto->l_Sel == TRUE)
	{
		m_CdcCommConti.Aggiungi(pConto->f_Esercizio, pConto->f_ContoKvz, pCdcComm->f_Tipo, pCdcComm->f_CentroCommessa,
								DataEnum(E_KVZ_SEGNOCONTO, 0));
		return TRUE;
	}
	return FALSE;
}

// ---- grid of one account's cost centres/jobs, and of one cost centre/job's accounts ---------------

// The year's splits of one account, or of every account (pConto null), in the order the grid
// shows them; from the other company when the list is read there.
Kvz_CPropSimboloPBaseDoc::CdcCommPerConto Kvz_CPropSimboloPBaseDoc::LeggiCdcCommDeiConti(
	const Kvz_TEnhAnagContiKvz* pConto)
{
	CdcCommPerConto letti;
	const DataInt esercizio = EsercizioSimbolo();
	const BOOL bEsterna = IsAziendaEsterna() && m_pConnLista;
	Kvz_TEnhCentriCommesseContiKvz link;
	Kvz_TCentriCommesseConti_Ext linkExt(bEsterna ? m_pConnLista : nullptr);
	SqlTable t(bEsterna ? static_cast<SqlRecord*>(&linkExt) : &link,
			   bEsterna ? m_pConnLista->GetDefaultSqlSession() : GetReadOnlySqlSession(), this);
	const DataObj& colEsercizio = bEsterna ? static_cast<const DataObj&>(linkExt.f_Esercizio) : link.f_Esercizio;
	const DataObj& colConto = bEsterna ? static_cast<const DataObj&>(linkExt.f_ContoKvz) : link.f_ContoKvz;
	const DataObj& colCdcComm =
		bEsterna ? static_cast<const DataObj&>(linkExt.f_CentroCommessa) : link.f_CentroCommessa;
	try
	{
		t.Open();
		t.SelectAll();
		if (!pConto)
			t.AddSortColumn(colConto);
		t.AddSortColumn(colCdcComm);
		t.AddParam("p1", colEsercizio);
		t.AddFilterColumn(colEsercizio);
		if (pConto)
		{
			t.AddParam("p10", colConto);
			t.AddFilterColumn(colConto);
		}
		t.SetParamValue("p1", esercizio);
		if (pConto)
			t.SetParamValue("p10", pConto->f_ContoKvz);
		for (t.Query(); !t.IsEOF(); t.MoveNext())
		{
			const DataStr& codice = bEsterna ? linkExt.f_CentroCommessa : link.f_CentroCommessa;
			if (codice.IsEmpty())
				continue;
			const DataStr& conto = bEsterna ? linkExt.f_ContoKvz : link.f_ContoKvz;
			letti[ChiaveConto(conto)].push_back(
				{bEsterna ? linkExt.f_Esercizio : link.f_Esercizio, codice,
				 bEsterna ? DataEnum(static_cast<DWORD>(linkExt.f_Tipo.GetValue())) : link.f_Tipo,
				 bEsterna ? linkExt.f_Descrizione : link.f_Descrizione});
		}
	}
	catch (const SqlException& e)
	{
		ASSERT_RELEASE_FAILED("0", "Kvz_CPropSimboloPBaseDoc::LeggiCdcCommDeiConti", kSource);
		e.ShowError(_T(""));
	}
	Chiudi(t);
	return letti;
}

// Account codes compare without regard to case, as the database compares them.
std::string Kvz_CPropSimboloPBaseDoc::ChiaveConto(const DataStr& aConto)
{
	CString u = aConto.GetString();
	u.MakeUpper();
	return u.str();
}

std::string Kvz_CPropSimboloPBaseDoc::ChiaveCdcComm(const DataStr& aConto, const DataEnum& aTipo,
													const DataStr& aCodice)
{
	CString u = aCodice.GetString();
	u.MakeUpper();
	return ChiaveConto(aConto) + '\n' + std::to_string(aTipo.GetItemValue()) + '\n' + u.str();
}

const DataEnum* Kvz_CPropSimboloPBaseDoc::ElencoSalvato::Conto(const DataStr& aConto) const
{
	auto it = conti.find(ChiaveConto(aConto));
	return it == conti.end() ? nullptr : &it->second;
}

const DataEnum* Kvz_CPropSimboloPBaseDoc::ElencoSalvato::CdcComm(const DataEnum& aTipo, const DataStr& aCodice) const
{
	auto it = cdcComm.find(ChiaveCdcComm(DataStr(), aTipo, aCodice));
	return it == cdcComm.end() ? nullptr : &it->second;
}

const DataEnum* Kvz_CPropSimboloPBaseDoc::ElencoSalvato::Coppia(const DataStr& aConto, const DataEnum& aTipo,
																const DataStr& aCodice) const
{
	auto it = coppie.find(ChiaveCdcComm(aConto, aTipo, aCodice));
	return it == coppie.end() ? nullptr : &it->second;
}

Kvz_CPropSimboloPBaseDoc::ElencoSalvato Kvz_CPropSimboloPBaseDoc::LeggiElencoSalvato()
{
	ElencoSalvato elenco;
	if (m_NomeSimbolo.IsEmpty())
		return elenco;
	Kvz_TElencoContiSimboloPBase rec;
	SqlTable t(&rec, GetReadOnlySqlSession(), this);
	try
	{
		t.Open();
		t.SelectAll();
		t.AddParam("p1", rec.f_Esercizio);
		t.AddFilterColumn(rec.f_Esercizio);
		t.AddParam("p2", rec.f_ModelloRiclassific);
		t.AddFilterColumn(rec.f_ModelloRiclassific);
		t.AddParam("p3", rec.f_NomeSimbolo);
		t.AddFilterColumn(rec.f_NomeSimbolo);
		t.AddSortColumn(rec.f_ContoSelez);
		t.AddSortColumn(rec.f_TipoCentroComm);
		t.AddSortColumn(rec.f_CentroCommessa);
		t.SetParamValue("p1", EsercizioSimbolo());
		t.SetParamValue("p2", m_Modello);
		t.SetParamValue("p3", m_NomeSimbolo);
		for (t.Query(); !t.IsEOF(); t.MoveNext())
		{
			elenco.conti.emplace(ChiaveConto(rec.f_ContoSelez), rec.f_SegnoConto);
			elenco.cdcComm.emplace(ChiaveCdcComm(DataStr(), rec.f_TipoCentroComm, rec.f_CentroCommessa), rec.f_SegnoConto);
			elenco.coppie.emplace(ChiaveCdcComm(rec.f_ContoSelez, rec.f_TipoCentroComm, rec.f_CentroCommessa),
								  rec.f_SegnoConto);
		}
	}
	catch (const SqlException& e)
	{
		ASSERT_RELEASE_FAILED("0", "Kvz_CPropSimboloPBaseDoc::LeggiElencoSalvato", kSource);
		e.ShowError(_T(""));
	}
	Chiudi(t);
	return elenco;
}

void Kvz_CPropSimboloPBaseDoc::RiempiListBoxCdcCommDelConto(Kvz_TEnhAnagContiKvz* pConto)
{
	if (!pConto)
	{
		m_pDBTSelCdcComm->RemoveAll(TRUE);
		return;
	}
	const CdcCommPerConto letti = LeggiCdcCommDeiConti(pConto);
	auto it = letti.find(ChiaveConto(pConto->f_ContoKvz));
	RiempiListBoxCdcCommDelConto(pConto, it == letti.end() ? std::vector<CdcCommLetto>() : it->second,
								 pConto->l_Sel == TRUE ? LeggiElencoSalvato() : ElencoSalvato());
}

void Kvz_CPropSimboloPBaseDoc::RiempiListBoxCdcCommDelConto(Kvz_TEnhAnagContiKvz* pConto,
															 const std::vector<CdcCommLetto>& righe,
															 const ElencoSalvato& elenco)
{
	const Kvz_CUtilizzaFormuleDoc::LetturaContatori lettura(GetDocUtilizzo());
	m_pDBTSelCdcComm->RemoveAll(TRUE);
	if (!pConto)
		return;
	for (const CdcCommLetto& letto : righe)
	{
		Kvz_ViewCdcCommesse* pRiga = AggiungiRigaCdcComm(letto.esercizio, letto.codice, letto.tipo, letto.descrizione);
		pRiga->l_Sel.SetReadOnly(FALSE);
		if (pConto->l_Sel == TRUE)
		{
			Kvz_TEnhCentriCommesseContiKvz* pCoppia = nullptr;
			int nIndex = -1;
			if (const DataEnum* pSegno = elenco.Coppia(pConto->f_ContoKvz, pRiga->f_Tipo, pRiga->f_CentroCommessa))
			{
				pRiga->l_Sel = TRUE;
				pRiga->l_SegnoConto = *pSegno;
				m_nSelezionati = m_nSelezionati + 1;
			}
			else if (CercaCdcCommDelConto(pConto, pRiga, pCoppia, nIndex))
			{
				pRiga->l_Sel = TRUE;
				pRiga->l_SegnoConto = pCoppia->l_SegnoConto;
				m_nSelezionati = m_nSelezionati + 1;
			}
			AggiornaCdcCommDelConto(pConto, pRiga);
		}
		else
			pRiga->l_Sel.SetReadOnly(TRUE);
	}
}

void Kvz_CPropSimboloPBaseDoc::RiempiListBoxContiDelCdcComm(Kvz_ViewCdcCommesse* pCdcComm)
{
	const Kvz_CUtilizzaFormuleDoc::LetturaContatori lettura(GetDocUtilizzo());
	if (!pCdcComm)
		return;
	m_pDBTSelConti->RemoveAll(TRUE);
	const DataInt esercizio = EsercizioSimbolo();
	const ElencoSalvato elenco = pCdcComm->l_Sel == TRUE ? LeggiElencoSalvato() : ElencoSalvato();
	// The year's accounts linked to the cost centre/job, by one query.
	Kvz_TEnhAnagContiKvz conto;
	SqlTable t(&conto, GetReadOnlySqlSession(), this);
	int nPrimoSel = -1;
	try
	{
		Kvz_TCentriCommesseContiKvz link(FALSE);
		t.Open();
		t.SelectAll();
		t.AddSortColumn(conto.f_ContoKvz);
		t.AddParam("p1", conto.f_Esercizio);
		t.AddFilterColumn(conto.f_Esercizio);
		t.AddParam("p2", link.f_Esercizio);
		t.AddParam("p3", link.f_CentroCommessa);
		t.AddParam("p4", link.f_Tipo);
		t.m_strFilter += CString::Formatted(
			" AND %s IN (SELECT L.\"ContoKvz\" FROM \"%s\" L WHERE L.\"Esercizio\" = ? AND "
			"L.\"CentroCommessa\" = ? AND L.\"Tipo\" = ?)",
			t.GetColumnName(conto.f_ContoKvz).GetString(), Kvz_TCentriCommesseContiKvz::GetStaticName());
		t.SetParamValue("p1", esercizio);
		t.SetParamValue("p2", esercizio);
		t.SetParamValue("p3", pCdcComm->f_CentroCommessa);
		t.SetParamValue("p4", pCdcComm->f_Tipo);
		for (t.Query(); !t.IsEOF(); t.MoveNext())
		{
			BOOL bSel = FALSE;
			DataEnum segno(E_KVZ_SEGNOCONTO, 0);
			if (pCdcComm->l_Sel == TRUE)
			{
				Kvz_TEnhCentriCommesseContiKvz* pCoppia = m_CdcCommConti.Cerca(
					conto.f_ContoKvz, pCdcComm->f_Tipo, pCdcComm->f_CentroCommessa);
				if (const DataEnum* pSegno = elenco.Coppia(conto.f_ContoKvz, pCdcComm->f_Tipo, pCdcComm->f_CentroCommessa))
				{
					bSel = TRUE;
					segno = *pSegno;
					if (!pCoppia)
						m_CdcCommConti.Aggiungi(conto.f_Esercizio, conto.f_ContoKvz, pCdcComm->f_Tipo,
												pCdcComm->f_CentroCommessa, segno);
				}
				else if (pCoppia)
				{
					bSel = TRUE;
					segno = pCoppia->l_SegnoConto;
				}
			}
			if (!bSel && m_VisSoloSel == TRUE)
				continue;
			auto* pRiga = static_cast<Kvz_TEnhAnagContiKvz*>(m_pDBTSelConti->AddRecord());
			*pRiga = conto;
			pRiga->l_Sel = bSel;
			pRiga->l_SegnoConto = segno;
			if (bSel)
			{
				m_nSelezionati = m_nSelezionati + 1;
				if (nPrimoSel < 0)
					nPrimoSel = m_pDBTSelConti->GetUpperBound();
			}
			AggiornaContoDelCdcComm(pRiga, pCdcComm);
			pRiga->l_ContatoreDettaglio = ContatoreDettaglio(kContatoreConto, pRiga->f_ContoKvz);
			pRiga->l_ContatoreGenerale = ContatoreGenerale(kContatoreConto, pRiga->f_ContoKvz);
		}
	}
	catch (const SqlException& e)
	{
		ASSERT_RELEASE_FAILED("0", "Kvz_CPropSimboloPBaseDoc::RiempiListBoxContiDelCdcComm", kSource);
		e.ShowError(_T(""));
	}
	Chiudi(t);
	if (nPrimoSel >= 0)
		m_pDBTSelConti->SetCurrentRow(nPrimoSel);
}

// ---- select and deselect all --------------------------------------------------------------------

void Kvz_CPropSimboloPBaseDoc::OnSelTuttiCdcComm()
{
	SelezionaTuttiCdcComm(TRUE);
}

void Kvz_CPropSimboloPBaseDoc::OnDeselTuttiCdcComm()
{
	SelezionaTuttiCdcComm(FALSE);
}

void Kvz_CPropSimboloPBaseDoc::OnSelTuttiConti()
{
	SelezionaTuttiConti(TRUE);
}

void Kvz_CPropSimboloPBaseDoc::OnDeselTuttiConti()
{
	SelezionaTuttiConti(FALSE);
}

namespace {
// Ticks or unticks a row of either grid with its counters; false when it already was so.
template <class Riga>
bool CambiaSelezione(Riga& riga, BOOL bSel, BOOL bContatori)
{
	if ((riga.l_Sel == TRUE) == (bSel == TRUE))
		return false;
	riga.l_Sel = bSel;
	auto conta = bSel ? &Kvz_CPropSimboloPBaseDoc::IncrementaContatore : &Kvz_CPropSimboloPBaseDoc::DecrementaContatore;
	if (bContatori)
	{
		conta(riga.l_ContatoreDettaglio);
		conta(riga.l_ContatoreGenerale);
	}
	return true;
}
}  // namespace

// Every row not yet so ticked or unticked; the pairs follow the current row of the other grid,
// which records the change.
void Kvz_CPropSimboloPBaseDoc::SelezionaTuttiCdcComm(BOOL bSel)
{
	Kvz_TEnhAnagContiKvz* pConto = m_pDBTSelConti->GetCurrentRecord();
	for (int i = 0; i < m_pDBTSelCdcComm->GetSize(); ++i)
	{
		Kvz_ViewCdcCommesse* pRiga = m_pDBTSelCdcComm->GetCdcComm(i);
		if (!CambiaSelezione(*pRiga, bSel, ContaUtilizzi()))
			continue;
		if (pConto && (!bSel || m_WhereConto == TRUE))
		{
			AggiornaCdcCommDelConto(pConto, pRiga);
			pConto->l_SelCommCdcModif = TRUE;
		}
		m_nSelezionati = m_nSelezionati + (bSel ? 1 : -1);
	}
	UpdateDataView();
}

void Kvz_CPropSimboloPBaseDoc::SelezionaTuttiConti(BOOL bSel)
{
	Kvz_ViewCdcCommesse* pCdcComm = m_pDBTSelCdcComm->GetCurrentRecord();
	for (int i = 0; i < m_pDBTSelConti->GetSize(); ++i)
	{
		Kvz_TEnhAnagContiKvz* pRiga = m_pDBTSelConti->GetConto(i);
		if (!CambiaSelezione(*pRiga, bSel, ContaUtilizzi()))
			continue;
		if (pCdcComm && (!bSel || m_WhereCdcComm == TRUE))
		{
			AggiornaContoDelCdcComm(pRiga, pCdcComm);
			pCdcComm->l_SelContiModif = TRUE;
		}
		m_nSelezionati = m_nSelezionati + (bSel ? 1 : -1);
	}
	UpdateDataView();
}

// ---- "Carica da tabelle" and the filter ---------------------------------------------------------

void Kvz_CPropSimboloPBaseDoc::OnCaricaTabellaCdcComm()
{
	Kvz_TEnhAnagContiKvz* pConto = m_pDBTSelConti->GetCurrentRecord();
	if (!pConto)
	{
		AfxMessageBox(Testo(_T("Occorre selezionare un conto.")));
		return;
	}
	auto esiste = [&](const DataEnum& aTipo, const DataStr& aCodice) {
		for (int i = 0; i < m_pDBTSelCdcComm->GetSize(); ++i)
		{
			const Kvz_ViewCdcCommesse* p = m_pDBTSelCdcComm->GetCdcComm(i);
			if (p->f_Tipo.GetValue() == aTipo.GetValue() && p->f_CentroCommessa == aCodice)
				return true;
		}
		return false;
	};
	auto aggiungi = [&](const DataEnum& aTipo, const DataStr& aCodice, const DataStr& aDescrizione) {
		Kvz_ViewCdcCommesse* pRiga = AggiungiRigaCdcComm(pConto->f_Esercizio, aCodice, aTipo, aDescrizione);
		pRiga->l_Sel = FALSE;
		pRiga->l_SegnoConto = pConto->l_SegnoConto;
	};
	TJobs job;
	TCostCenters cdc;
	SqlTable tJob(&job, GetReadOnlySqlSession(), this);
	SqlTable tCdc(&cdc, GetReadOnlySqlSession(), this);
	GetScheduler()->Reset();
	try
	{
		tJob.Open();
		tJob.SelectAll();
		tJob.AddSortColumn(job.f_Job);
		if (m_FiltroCommesse.m_bTutteCommesse != TRUE)
		{
			const CString col = tJob.GetColumnName(job.f_Job);
			tJob.m_strFilter += CString::Formatted(" %s >= ? AND %s <= ? ", col.GetString(), col.GetString());
			tJob.AddParam("DallaComm", job.f_Job);
			tJob.AddParam("AllaComm", job.f_Job);
			tJob.SetParamValue("DallaComm", m_FiltroCommesse.m_DallaCommessa);
			tJob.SetParamValue("AllaComm", m_FiltroCommesse.m_AllaCommessa);
		}
		for (tJob.Query(); !tJob.IsEOF() && !GetScheduler()->IsAborted(); tJob.MoveNext())
			if (!esiste(kCommessa, job.f_Job))
				aggiungi(kCommessa, job.f_Job, job.f_Description);

		tCdc.Open();
		tCdc.SelectAll();
		tCdc.AddSortColumn(cdc.f_CostCenter);
		if (m_FiltroCommesse.m_bTuttiCentriCosto != TRUE)
		{
			const CString col = tCdc.GetColumnName(cdc.f_CostCenter);
			tCdc.m_strFilter += CString::Formatted(" %s >= ? AND %s <= ? ", col.GetString(), col.GetString());
			tCdc.AddParam("DalCdc", cdc.f_CostCenter);
			tCdc.AddParam("AlCdc", cdc.f_CostCenter);
			tCdc.SetParamValue("DalCdc", m_FiltroCommesse.m_DalCentroCosto);
			tCdc.SetParamValue("AlCdc", m_FiltroCommesse.m_AlCentroCosto);
		}
		for (tCdc.Query(); !tCdc.IsEOF() && !GetScheduler()->IsAborted(); tCdc.MoveNext())
			if (!esiste(kCentro, cdc.f_CostCenter))
				aggiungi(kCentro, cdc.f_CostCenter, cdc.f_Description);
	}
	catch (const SqlException& e)
	{
		ASSERT_RELEASE_FAILED("0", "Kvz_CPropSimboloPBaseDoc::OnCaricaTabellaCdcComm", kSource);
		e.ShowError();
	}
	Chiudi(tJob);
	Chiudi(tCdc);
	UpdateDataView();
}

CBaseDocument* Kvz_CPropSimboloPBaseDoc::OnFiltroCdcComm()
{
	CPlvCommandInterface* pManager = AfxGetPlvCmdManager();
	m_pFiltroDoc =
		pManager ? pManager->RunDocument(_T("KvzNet.KvzMod.KvzDocuments.FiltriCommesse"), _T("Default"), nullptr, this)
				 : nullptr;
	return m_pFiltroDoc;
}
