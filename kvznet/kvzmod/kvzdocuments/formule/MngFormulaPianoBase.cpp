// Valuation of base-plan symbols: one grouped query per symbol over the base-plan or budget
// rows, an account list as one grouped query with the entries' signs, cursors prepared once
// per top engine and values kept for the run.
#include <algorithm>
#include <cmath>
#include <map>

#include <fmt/format.h>

#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TBudgetRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TElencoContiSimboloPBase.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseRighe.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormula.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormulaErrori.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormulaCursore.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormulaComune.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvoledb/SqlTable.h"

using kvz_formula::kAggregati;
using kvz_formula::kOperatori;

namespace {
const char* const kSource = "MngFormula";


CString Quotato(const CString& nome)
{
	return "\"" + nome + "\"";
}

CString Applica(const char* formato, const CString& colonna)
{
	return CString::Formatted(formato, colonna.GetString());
}

// Item 0 or 4 of the ledger kind turns the amount's sign.
bool MastroInverte(long long mastro)
{
	return mastro == DataEnum(E_TIPOMASTRO, 0).GetValue() || mastro == DataEnum(E_TIPOMASTRO, 4).GetValue();
}
}  // namespace

void Kvz_New_MngFormula::SvuotaCachePianoBase()
{
	Kvz_New_MngFormula& radice = Radice();
	radice.m_CachePianoBase.clear();
	radice.m_Annidate.clear();  // they may have read the base plan
	radice.m_ValoriPianoBase.clear();
	m_ValoriPianoBase.clear();
}

Kvz_New_MngFormula::StatoPianoBase Kvz_New_MngFormula::StatoPerPianoBase() const
{
	// What the base-plan cache's key takes from the engine, and the mode its definition check reads.
	StatoPianoBase stato;
	stato.nEsercizio = m_Esercizio.GetValue();
	stato.nMeseIniziale = m_MeseIniziale.GetValue();
	stato.nUltimoMese = UltimoMese();
	stato.strModello = m_Modello.GetString();
	stato.nModo = m_Modo.GetValue();
	stato.nTipoBudget = m_TipoBudget.GetValue();
	stato.bBudget = m_bFormulaBudget != FALSE;
	return stato;
}

BOOL Kvz_New_MngFormula::PianoBaseGiaValutato(const CString& strNome)
{
	if (!m_bDefinizioniStabili || !m_Ditta.IsEmpty() || m_ValoriPianoBase.empty())
		return FALSE;
	const StatoPianoBase stato = StatoPerPianoBase();
	auto it = m_ValoriPianoBase.find({strNome, stato.bBudget, stato.nTipoBudget});
	if (it == m_ValoriPianoBase.end() || !(it->second.stato == stato))
		return FALSE;
	// The symbol as its valuation makes it, in the place of the last occurrence's.
	const CString chiave = "_" + strNome;
	std::unique_ptr<Kvz_New_Simbolo>& p = m_MapSimboli[ChiaveSimbolo(m_Esercizio, m_Modello, chiave)];
	if (!p)
		p = std::make_unique<Kvz_New_Simbolo>();
	p->m_Nome = chiave;
	p->m_Tipo = DataEnum(E_KVZ_TIPOSIMBOLO, 0);
	p->m_Modello = m_Modello;
	p->m_Esercizio = m_Esercizio;
	p->m_pParent = m_pParentSimbolo;
	for (int m = 0; m < 12; ++m)
		p->m_Valori[m] = it->second.valori[static_cast<size_t>(m)];
	return TRUE;
}

BOOL Kvz_New_MngFormula::ValorizzaPianoBase(const CString& strNome)
{
	std::unique_ptr<Kvz_TSimboliPianoBase>* pLetta = nullptr;
	if (m_bDefinizioniStabili)
	{
		auto [it, bNuova] = m_DefinizioniLette.try_emplace(ChiaveSimbolo(m_Esercizio, m_Modello, strNome));
		if (!bNuova && it->second)
		{
			if (!ValorizzaPianoBase("_" + strNome, it->second.get()))
				return FALSE;
			TieniPianoBase(strNome);
			return TRUE;
		}
		pLetta = &it->second;
	}
	Kvz_TRSimboliPianoBase& reader = m_TRSimboliPB;
	const Kvz_TSimboliPianoBase* pDef = nullptr;
	try
	{
		if (Kvz_New_LettureStabili* pLetture = Letture())
			pDef = pLetture->SimboloPianoBase(m_Esercizio, m_Modello, strNome);
		else if (reader.FindRecord(m_Esercizio, DataStr(strNome), m_Modello) == TableReader::FOUND)
			pDef = reader.GetRecord();
		if (!pDef)
		{
			Messaggio(CString::Formatted(
				AfxLoadSourceString("Il simbolo %s (piano base) modello %s non e' presente in tabella simboli.", kSource),
				strNome.GetString(), m_Modello.GetString().GetString()));
			return FALSE;
		}
	}
	catch (const std::exception& e)
	{
		MostraErroreSql(e, "Kvz_New_MngFormula::ValorizzaPianoBase");
		return FALSE;
	}
	if (pLetta)
	{
		*pLetta = std::make_unique<Kvz_TSimboliPianoBase>();
		**pLetta = *pDef;
	}
	if (!ValorizzaPianoBase("_" + strNome, pDef))
		return FALSE;
	TieniPianoBase(strNome);
	return TRUE;
}

void Kvz_New_MngFormula::TieniPianoBase(const CString& strNome)
{
	if (!m_bDefinizioniStabili || !m_Ditta.IsEmpty() || m_RigaAnagrafica.f_UsaAziendaEsterna)
		return;
	auto it = m_MapSimboli.find(ChiaveSimbolo(m_Esercizio, m_Modello, "_" + strNome));
	if (it == m_MapSimboli.end() || !it->second)
		return;
	const StatoPianoBase stato = StatoPerPianoBase();
	ValoriPianoBase& tenuti = m_ValoriPianoBase[{strNome, stato.bBudget, stato.nTipoBudget}];
	tenuti.stato = stato;
	for (int m = 0; m < 12; ++m)
		tenuti.valori[static_cast<size_t>(m)] = it->second->m_Valori[m].GetValue();
}

BOOL Kvz_New_MngFormula::ValorizzaPianoBase(const CString& strChiave, const Kvz_TSimboliPianoBase* pDef)
{
	if (pDef)
		m_DefPianoBase = *pDef;
	else
		m_DefPianoBase = *m_TRSimboliPB.GetRecord();
	const Kvz_TSimboliPianoBase& def = m_DefPianoBase;

	// Every occurrence makes the symbol anew; the values come from the run's cache when the
	// same query was answered before.
	auto nuovo = std::make_unique<Kvz_New_Simbolo>();
	nuovo->m_Nome = strChiave;
	nuovo->m_Tipo = DataEnum(E_KVZ_TIPOSIMBOLO, 0);
	nuovo->m_Modello = m_Modello;
	nuovo->m_Esercizio = m_Esercizio;
	nuovo->m_pParent = m_pParentSimbolo;
	Kvz_New_Simbolo& simbolo = *nuovo;
	m_MapSimboli[ChiaveSimbolo(m_Esercizio, m_Modello, strChiave)] = std::move(nuovo);

	const CString errore = ErroreDefinizione(def);
	if (!errore.IsEmpty())
	{
		Messaggio(CString::Formatted(AfxLoadSourceString("Il simbolo %s (piano base) modello %s: %s.", kSource),
									 def.f_NomeSimbolo.GetString().GetString(), m_Modello.GetString().GetString(),
									 errore.GetString()));
		return FALSE;
	}

	Kvz_New_MngFormula* pRadice = m_pRadice ? m_pRadice : this;
	const CString chiave = ChiaveCachePianoBase(def);
	auto it = pRadice->m_CachePianoBase.find(chiave);
	if (it != pRadice->m_CachePianoBase.end())
	{
		for (int m = 0; m < 12; ++m)
			simbolo.m_Valori[m] = it->second[static_cast<size_t>(m)];
		return TRUE;
	}
	if (!(m_RigaAnagrafica.f_UsaAziendaEsterna ? Ext_ValorizzaPianoBase(m_RigaAnagrafica.f_Azienda, simbolo, def)
											   : ValorizzaPianoBaseLocale(def, simbolo)))
		return FALSE;
	std::array<double, 12> valori{};
	for (int m = 0; m < 12; ++m)
		valori[static_cast<size_t>(m)] = simbolo.m_Valori[m].GetValue();
	pRadice->m_CachePianoBase[chiave] = valori;
	return TRUE;
}

CString Kvz_New_MngFormula::ErroreDefinizione(const Kvz_TSimboliPianoBase& def) const
{
	const int aggreg = def.f_AggregFunction.GetItemValue();
	if (aggreg > 5)
		return CString::Formatted(AfxLoadSourceString("funzione di aggregazione %d non prevista", kSource), aggreg);
	const int opeConto = def.f_TipoOpeConto.GetItemValue();
	if (opeConto > 8)
		return CString::Formatted(AfxLoadSourceString("operatore sul conto %d non previsto", kSource), opeConto);
	const bool bBudget = IsBudget(def);
	if (!bBudget)
	{
		for (auto [bWhere, pOpe] : {std::pair{static_cast<bool>(def.f_WhereSaldo), &def.f_TipoOpeSaldo},
									std::pair{static_cast<bool>(def.f_WhereRateo), &def.f_TipoOpeRateo},
									std::pair{static_cast<bool>(def.f_WhereTotAss), &def.f_TipoOpeTotAss}})
			if (bWhere && pOpe->GetItemValue() > 6)
				return CString::Formatted(AfxLoadSourceString("operatore sull'importo %d non previsto", kSource),
										  pOpe->GetItemValue());
		// Each symbol's own choice of value: without one there is no value to read.
		const int modo = m_Modo.GetItemValue();
		if ((modo < 1 || modo > 3) && !def.f_SelSaldo && !def.f_SelRateo && !def.f_SelTotAss)
			return AfxLoadSourceString("nessun importo scelto (saldo, rateo o totale assestato)", kSource);
	}
	return "";
}

CString Kvz_New_MngFormula::ChiaveCachePianoBase(const Kvz_TSimboliPianoBase& def) const
{
	// The engine's state the query depends on, then every column of the definition.
	std::string chiave = fmt::format("{}|{}|{}|{}|{}|{}|{}|{}|{}", m_Esercizio.GetValue(), m_Modello.GetString().str(),
									 m_MeseIniziale.GetValue(), UltimoMese(), m_Modo.GetValue(),
									 m_bFormulaBudget ? 1 : 0, m_TipoBudget.GetValue(),
									 m_RigaAnagrafica.f_UsaAziendaEsterna ? 1 : 0,
									 m_RigaAnagrafica.f_Azienda.GetString().str());
	// Stable definitions give the same columns at every occurrence: written once.
	std::string* pColonne = nullptr;
	if (m_bDefinizioniStabili)
	{
		auto [it, bNuova] = m_ColonneDefinizioni.try_emplace(ChiaveSimbolo(m_Esercizio, m_Modello, def.f_NomeSimbolo));
		if (!bNuova)
			return CString(chiave + it->second);
		pColonne = &it->second;
	}
	std::string colonne;
	for (int i = 0; i < def.GetSizeEx(); ++i)
	{
		const DataObj* p = def.GetDataObjAt(i);
		if (const auto* pDbl = dynamic_cast<const DataDbl*>(p))
			colonne += fmt::format("\x1f{:.17g}", pDbl->GetValue());
		else
			colonne += "\x1f" + p->Str().str();
	}
	if (pColonne)
		*pColonne = colonne;
	return CString(chiave + colonne);
}

void Kvz_New_MngFormula::ComponiSelect(const Kvz_TSimboliPianoBase& def, CString& strMese, CString& strExpr1,
									   CString& strExpr2, CString& strExpr3, CString& strExpr4)
{
	const bool bBudget = IsBudget(def);
	CString colonne[3];
	if (bBudget)
		colonne[0] = colonne[1] = colonne[2] = Quotato("ImportoMese");
	else
	{
		colonne[0] = Quotato("SaldoContabile");
		colonne[1] = Quotato("ImportoRateo");
		colonne[2] = Quotato("TotaleAssestato");
	}
	strMese = Quotato("Mese");
	strExpr4.Empty();
	const int aggreg = def.f_AggregFunction.GetItemValue();
	const bool bUnoAUno = def.f_TipoOpeConto.GetItemValue() == 8 || aggreg == 5;
	const char* formato = bUnoAUno ? "%s" : kAggregati[std::clamp(aggreg, 0, 5)];
	strExpr1 = Applica(formato, colonne[0]);
	strExpr2 = Applica(formato, colonne[1]);
	strExpr3 = Applica(formato, colonne[2]);
	if (bUnoAUno && def.f_WhereCdcComm && !bBudget)
		strExpr4 = Quotato("TipoMastro");
}

void Kvz_New_MngFormula::ComponiWhere(const Kvz_TSimboliPianoBase& def, SqlTable& table, SqlRecord& rec,
									  BOOL bDefinisci, int& singleMonth)
{
	const bool bBudget = IsBudget(def);
	auto* pPB = dynamic_cast<Kvz_TPianoBaseRighe*>(&rec);
	auto* pBU = dynamic_cast<Kvz_TBudgetRighe*>(&rec);
	DataInt& esercizio = bBudget ? pBU->f_Esercizio : pPB->f_Esercizio;
	DataInt& mese = bBudget ? pBU->f_Mese : pPB->f_Mese;
	DataStr& conto = bBudget ? pBU->f_ContoKvz : pPB->f_ContoKvz;
	DataStr& cdc = bBudget ? pBU->f_CentroCommessa : pPB->f_CentroCommessa;

	auto uguale = [&](LPCTSTR param, DataObj& colonna, const DataObj& valore) {
		if (bDefinisci)
		{
			table.AddParam(param, colonna);
			table.AddFilterColumn(colonna);
		}
		table.SetParamValue(param, valore);
	};
	auto confronto = [&](LPCTSTR pDa, LPCTSTR pA, DataObj& colonna, int ope, const DataObj& da, const DataObj& a) {
		if (bDefinisci)
		{
			table.AddParam(pDa, colonna);
			if (ope == 6)
			{
				table.AddParam(pA, colonna);
				table.AddBetweenColumn(colonna);
			}
			else
				table.AddFilterColumn(colonna, kOperatori[ope]);
		}
		table.SetParamValue(pDa, da);
		if (ope == 6)
			table.SetParamValue(pA, a);
	};

	if (bBudget)
		uguale("p17", pBU->f_TipoBudget, def.f_SelBudget ? def.f_TipoBudget : m_TipoBudget);
	uguale("p1", esercizio, def.f_ValDaEsConst ? def.f_ValDaEs : m_Esercizio);

	ASSERT_RELEASE_TRACE(!m_MeseFinale.IsEmpty(), "!m_FinoAlMese.IsEmpty()", kSource);
	const int da = def.f_ValDaMeseConst ? def.f_ValDaMese.GetValue() : m_MeseIniziale.GetValue();
	int a = def.f_ValAMeseConst ? def.f_ValAMese.GetValue() : UltimoMese();
	if (a == 0)
		a = UltimoMese();
	singleMonth = da == a ? 1 : 0;
	confronto("p3", "p4", mese, 6, DataInt(da), DataInt(a));

	const int opeConto = def.f_TipoOpeConto.GetItemValue();
	if (opeConto != 8)
		uguale("p14", cdc, DataStr(""));
	if (opeConto <= 6)
		confronto("p5", "p6", conto, opeConto, def.f_ValDaConto, def.f_ValAConto);
	else if (opeConto == 7)
	{
		if (bDefinisci)
			table.AddParam("p5", conto);
		kvz_formula::FiltroModello(table, "p5", conto, def.f_ValDaConto, bDefinisci);
	}
	// A list is matched entry by entry inside the query (see ValorizzaPianoBaseLocale).

	if (bBudget)
		return;
	if (def.f_WhereSaldo)
		confronto("p7", "p8", pPB->f_SaldoContabile, def.f_TipoOpeSaldo.GetItemValue(), def.f_ValDaSaldo, def.f_ValASaldo);
	if (def.f_WhereRateo)
		confronto("p9", "p10", pPB->f_ImportoRateo, def.f_TipoOpeRateo.GetItemValue(), def.f_ValDaRateo, def.f_ValARateo);
	if (def.f_WhereTotAss)
		confronto("p11", "p12", pPB->f_TotaleAssestato, def.f_TipoOpeTotAss.GetItemValue(), def.f_ValDaTotAss,
				  def.f_ValATotAss);
}

int Kvz_New_MngFormula::SceltaImporto(const Kvz_TSimboliPianoBase& def) const
{
	const int modo = m_Modo.GetItemValue();
	return IsBudget(def) ? 0 : (modo >= 1 && modo <= 3) ? modo - 1 : def.f_SelSaldo ? 0 : def.f_SelRateo ? 1 : 2;
}

CString Kvz_New_MngFormula::ValoreRigaSql(const Kvz_TSimboliPianoBase& def) const
{
	if (IsBudget(def))
		return Quotato("ImportoMese");
	const int scelta = SceltaImporto(def);
	// The adjusted value: the balance where there is no accrual, else the adjusted total.
	CString valore = scelta == 0   ? Quotato("SaldoContabile")
					 : scelta == 1 ? Quotato("ImportoRateo")
								   : CString(fmt::format("(CASE WHEN ABS(\"ImportoRateo\") < {:.17g} THEN "
														"\"SaldoContabile\" ELSE \"TotaleAssestato\" END)",
														GetMonEpsilon()));
	if (def.f_WhereCdcComm && def.f_SelContoVuoto)
		valore = CString(fmt::format("(CASE WHEN \"TipoMastro\" IN ({}, {}) THEN -1 ELSE 1 END) * {}",
									 DataEnum(E_TIPOMASTRO, 0).GetValue(), DataEnum(E_TIPOMASTRO, 4).GetValue(),
									 valore.str()));
	return valore;
}

void Kvz_New_MngFormula::FiltroElenco(const Kvz_TSimboliPianoBase& def, SqlTable& table, BOOL bDefinisci)
{
	if (bDefinisci)
	{
		// Only rows some entry takes, matched as the signed sum matches them, through the index
		// on the account.
		const bool bConto = ElencoPerConto(def);
		const CString l = Quotato(Kvz_TElencoContiSimboloPBase::GetStaticName());
		table.m_strFilter += CString(fmt::format(
			" AND ({}\"CentroCommessa\", \"TipoCentroComm\") IN (SELECT {}l.\"CentroCommessa\", l.\"TipoCentroComm\" "
			"FROM {} l WHERE l.\"Esercizio\" = ? AND l.\"ModelloRiclassific\" = ? AND l.\"NomeSimbolo\" = ?)",
			bConto ? "\"ContoKvz\", " : "", bConto ? "l.\"ContoSelez\", " : "", l.str()));
		Kvz_TElencoContiSimboloPBase elenco;  // the types of the parameters
		table.AddParam("p18e", elenco.f_Esercizio);
		table.AddParam("p23e", elenco.f_ModelloRiclassific);
		table.AddParam("p13e", elenco.f_NomeSimbolo);
	}
	table.SetParamValue("p18e", m_Esercizio);
	table.SetParamValue("p23e", m_Modello);
	table.SetParamValue("p13e", def.f_NomeSimbolo);
}

CString Kvz_New_MngFormula::ChiaveTesto(const CString& strTesto)
{
	std::string s = strTesto.str();
	for (char& c : s)
		if (c >= 'A' && c <= 'Z')
			c = static_cast<char>(c - 'A' + 'a');
	return CString(s);
}

CString Kvz_New_MngFormula::ChiaveVoce(const Kvz_TSimboliPianoBase& def, const CString& strConto,
									   const CString& strCentro, long long tipoCentro)
{
	// As the engine's list matches: centre or job and its kind, and the account when filtered.
	return CString(fmt::format("{}\x1f{}\x1f{}", ChiaveTesto(strCentro).str(), tipoCentro,
							   ElencoPerConto(def) ? ChiaveTesto(strConto).str() : std::string()));
}

BOOL Kvz_New_MngFormula::LeggiRighePianoBase(const Kvz_TSimboliPianoBase& def,
											 const std::function<void(const RigaPianoBase&)>& riga, bool& bUnMese)
{
	bUnMese = false;
	const CString errore = ErroreDefinizione(def);
	if (!errore.IsEmpty())
	{
		Messaggio(CString::Formatted(AfxLoadSourceString("Il simbolo %s (piano base) modello %s: %s.", kSource),
									 def.f_NomeSimbolo.GetString().GetString(), m_Modello.GetString().GetString(),
									 errore.GetString()));
		return FALSE;
	}
	const bool bBudget = IsBudget(def);
	std::unique_ptr<SqlRecord> pRec;
	if (bBudget)
		pRec = std::make_unique<Kvz_TBudgetRighe>();
	else
		pRec = std::make_unique<Kvz_TPianoBaseRighe>();
	try
	{
		SqlTable t(pRec.get(), Sessione());
		t.Open(FALSE);
		DataStr conto, centro;
		DataLng tipoCentro;
		DataInt mese;
		DataDbl valore;
		t.SelectSqlFun(Quotato("ContoKvz"), conto);
		t.SelectSqlFun(Quotato("CentroCommessa"), centro);
		t.SelectSqlFun(Quotato("TipoCentroComm"), tipoCentro);
		t.SelectSqlFun(Quotato("Mese"), mese);
		// Row by row, neither grouped nor sorted: SQLite cannot keep the index's order through
		// a list's IN on three columns and would sort every row in a temporary b-tree, which
		// costs more than the reading; the caller sums rows of the same key and month.
		t.SelectSqlFun(ValoreRigaSql(def), valore);
		int singleMonth = 0;
		ComponiWhere(def, t, *pRec, TRUE, singleMonth);
		if (def.f_TipoOpeConto.GetItemValue() == 8)
			FiltroElenco(def, t, TRUE);
		for (t.Query(); !t.IsEOF(); t.MoveNext())
			riga(RigaPianoBase{conto.GetString(), centro.GetString(), tipoCentro.GetValue(), mese.GetValue(),
							   valore.GetValue()});
		t.Close();
		bUnMese = singleMonth != 0;
	}
	catch (const std::exception& e)
	{
		MostraErroreSql(e, "Kvz_New_MngFormula::LeggiRighePianoBase");
		return FALSE;
	}
	return TRUE;
}

BOOL Kvz_New_MngFormula::ValorizzaPianoBaseLocale(const Kvz_TSimboliPianoBase& def, Kvz_New_Simbolo& simbolo)
{
	const bool bBudget = IsBudget(def);
	const bool bElenco = def.f_TipoOpeConto.GetItemValue() == 8;
	const bool bContoFiltrato = !(!def.f_WhereConto && def.f_SelContoVuoto);
	const bool bSegnoMastro = def.f_WhereCdcComm && def.f_SelContoVuoto && !bBudget;
	const int scelta = SceltaImporto(def);

	CString strMese, expr[4];
	ComponiSelect(def, strMese, expr[0], expr[1], expr[2], expr[3]);
	const CString tabella = Quotato(bBudget ? Kvz_TBudgetRighe::GetStaticName() : Kvz_TPianoBaseRighe::GetStaticName());
	const double eps = GetMonEpsilon();
	CString elencoSegno, elencoFiltro;
	if (bElenco)
	{
		// Each row counts once per list entry that takes it, with that entry's sign; the
		// ledger-kind sign rule applies per row. The rows are summed per month and what the
		// entries match (centre or job, its kind, the account when filtered), so the entries'
		// signs are summed once per group, not once per row.
		const CString l = Quotato(Kvz_TElencoContiSimboloPBase::GetStaticName());
		CString corrispondenza = "l.\"Esercizio\" = ? AND l.\"ModelloRiclassific\" = ? AND l.\"NomeSimbolo\" = ? AND "
								 "l.\"CentroCommessa\" = " +
								 tabella + ".\"CentroCommessa\" AND l.\"TipoCentroComm\" = " + tabella +
								 ".\"TipoCentroComm\"";
		if (bContoFiltrato)
			corrispondenza += " AND l.\"ContoSelez\" = " + tabella + ".\"ContoKvz\"";
		const CString valore = ValoreRigaSql(def);
		elencoSegno = CString(fmt::format("SUM({}) * (SELECT SUM(CASE WHEN l.\"SegnoConto\" = {} THEN 1 ELSE -1 END) "
										  "FROM {} l WHERE {})",
										  valore.str(), DataEnum(E_KVZ_SEGNOCONTO, 0).GetValue(), l.str(),
										  corrispondenza.str()));
		elencoFiltro = CString(fmt::format("EXISTS (SELECT 1 FROM {} l WHERE {})", l.str(), corrispondenza.str()));
	}

	Kvz_New_MngFormula* pRadice = m_pRadice ? m_pRadice : this;
	const bool bUnoAUno = bElenco || def.f_AggregFunction.GetItemValue() == 5;
	// The shape of the query: what the select, the filters and the sort depend on.
	const CString forma = CString(fmt::format(
		"{}|{}|{}|{}|{}|{}|{}|{}|{}|{}|{}|{:.17g}", bBudget, bElenco, bContoFiltrato, bSegnoMastro, scelta,
		def.f_AggregFunction.GetItemValue(), def.f_TipoOpeConto.GetItemValue(), expr[3].str(),
		def.f_WhereSaldo ? def.f_TipoOpeSaldo.GetItemValue() : -1, def.f_WhereRateo ? def.f_TipoOpeRateo.GetItemValue() : -1,
		def.f_WhereTotAss ? def.f_TipoOpeTotAss.GetItemValue() : -1, eps));
	auto& pCursore = pRadice->m_CursoriPianoBase[forma];
	const BOOL bDefinisci = !pCursore;
	try
	{
		if (bDefinisci)
		{
			pCursore = std::make_unique<Kvz_New_Cursore>();
			if (bBudget)
				pCursore->pRec = std::make_unique<Kvz_TBudgetRighe>();
			else
				pCursore->pRec = std::make_unique<Kvz_TPianoBaseRighe>();
			pCursore->pTable = std::make_unique<SqlTable>(pCursore->pRec.get(), pRadice->Sessione());
			pCursore->pTable->Open(FALSE, FALSE, TRUE);
		}
		Kvz_New_Cursore& c = *pCursore;
		SqlTable& table = *c.pTable;
		DataInt& colMese = bBudget ? static_cast<Kvz_TBudgetRighe&>(*c.pRec).f_Mese
								   : static_cast<Kvz_TPianoBaseRighe&>(*c.pRec).f_Mese;
		Kvz_TElencoContiSimboloPBase elenco;  // the types of the list's parameters
		if (bDefinisci)
		{
			table.SelectSqlFun(strMese, c.mese);
			if (bElenco)
			{
				// The parameters of the signed sum come first in the text, so they are added first.
				table.SelectSqlFun(elencoSegno, c.valori[0]);
				table.AddParam("p18", elenco.f_Esercizio);
				table.AddParam("p23", elenco.f_ModelloRiclassific);
				table.AddParam("p13", elenco.f_NomeSimbolo);
			}
			else
			{
				for (int i = 0; i < 3; ++i)
					table.SelectSqlFun(expr[i], c.valori[i]);
				if (!expr[3].IsEmpty())
				{
					table.SelectSqlFun(expr[3], c.mastro);
					c.bMastro = true;
				}
			}
		}
		int singleMonth = 0;
		ComponiWhere(def, table, *c.pRec, bDefinisci, singleMonth);
		if (bElenco)
			FiltroElenco(def, table, bDefinisci);
		if (bDefinisci)
		{
			if (bUnoAUno && !bElenco)
				table.AddSortColumn(colMese);
			else
				table.AddGroupByColumn(colMese);
			if (bElenco)
			{
				auto* pPB = dynamic_cast<Kvz_TPianoBaseRighe*>(c.pRec.get());
				auto* pBU = dynamic_cast<Kvz_TBudgetRighe*>(c.pRec.get());
				table.AddGroupByColumn(bBudget ? pBU->f_CentroCommessa : pPB->f_CentroCommessa);
				table.AddGroupByColumn(bBudget ? pBU->f_TipoCentroComm : pPB->f_TipoCentroComm);
				if (bContoFiltrato)
					table.AddGroupByColumn(bBudget ? pBU->f_ContoKvz : pPB->f_ContoKvz);
			}
		}
		if (bElenco)
		{
			table.SetParamValue("p18", m_Esercizio);
			table.SetParamValue("p23", m_Modello);
			table.SetParamValue("p13", def.f_NomeSimbolo);
		}

		// A list gives a row per group, in month order: a month's value is its rows' sum.
		int meseSommato = -1;
		double somma = 0;
		for (table.Query(); !table.IsEOF(); table.MoveNext())
		{
			double v;
			if (bElenco)
			{
				v = c.valori[0].GetValue();
				if (c.mese.GetValue() == meseSommato)
					v += somma;
				meseSommato = c.mese.GetValue();
				somma = v;
			}
			else
			{
				const double saldo = c.valori[0].GetValue(), rateo = c.valori[1].GetValue(), totale = c.valori[2].GetValue();
				v = scelta == 0 ? saldo : scelta == 1 ? rateo : (std::fabs(rateo) < eps ? saldo : totale);
				if (c.bMastro && bSegnoMastro && MastroInverte(c.mastro.GetValue()))
					v = -v;
			}
			// A symbol of one month is that month in every month; otherwise each month is its
			// own rows', and a month without rows stays 0.
			const int mese = c.mese.GetValue();
			if (singleMonth)
				for (DataDbl& valore : simbolo.m_Valori)
					valore = v;
			else if (mese >= 1 && mese <= 12)
				simbolo.m_Valori[mese - 1] = v;
		}
	}
	catch (const std::exception& e)
	{
		if (bDefinisci)
			pCursore.reset();
		MostraErroreSql(e, "Kvz_New_MngFormula::ValorizzaPianoBase");
		return FALSE;
	}
	return TRUE;
}

BOOL Kvz_New_MngFormula::Ext_ValorizzaPianoBase(const DataStr& aAzienda, Kvz_New_Simbolo& simbolo,
												const Kvz_TSimboliPianoBase& def)
{
	Kvz_New_External* pExternal = GetDatabase(aAzienda);
	if (!pExternal->GetConnection())
		return TRUE;  // said once when the connection failed; the symbol stays 0
	const bool bBudget = IsBudget(def);
	const int opeConto = def.f_TipoOpeConto.GetItemValue();
	const bool bElenco = opeConto == 8;
	const bool bContoFiltrato = !(!def.f_WhereConto && def.f_SelContoVuoto);
	const int scelta = SceltaImporto(def);
	const double eps = GetMonEpsilon();

	// The list's entries are the current company's.
	struct Voce
	{
		DataStr conto, cdc;
		DataEnum tipo;
		bool bSottrae;
	};
	std::vector<Voce> voci;
	try
	{
		if (bElenco)
		{
			Kvz_TElencoContiSimboloPBase e;
			SqlTable t(&e, Sessione());
			t.Open(FALSE, FALSE, TRUE);
			t.SelectAll();
			t.AddParam("p18", e.f_Esercizio);
			t.AddFilterColumn(e.f_Esercizio);
			t.AddParam("p23", e.f_ModelloRiclassific);
			t.AddFilterColumn(e.f_ModelloRiclassific);
			t.AddParam("p13", e.f_NomeSimbolo);
			t.AddFilterColumn(e.f_NomeSimbolo);
			t.SetParamValue("p18", m_Esercizio);
			t.SetParamValue("p23", m_Modello);
			t.SetParamValue("p13", def.f_NomeSimbolo);
			for (t.Query(); !t.IsEOF(); t.MoveNext())
				voci.push_back({e.f_ContoSelez, e.f_CentroCommessa, e.f_TipoCentroComm, e.f_SegnoConto.GetItemValue() != 0});
			t.Close();
		}
		else
			voci.push_back({DataStr(), DataStr(), DataEnum(E_KVZ_TIPOCENTROCOMM, 0), false});

		const CString forma = CString(fmt::format("PB|{}|{}|{}", bBudget, opeConto, bContoFiltrato));
		Kvz_New_Cursore* pCursore = pExternal->Cursore(forma);
		const bool bDefinisci = !pCursore;
		if (bDefinisci)
		{
			Kvz_New_Cursore& c = pExternal->NuovoCursore(forma);
			SqlConnection* pConn = pExternal->GetConnection();
			if (bBudget)
				c.pRec = std::make_unique<Kvz_TBudgetR_Ext>(pConn);
			else
				c.pRec = std::make_unique<Kvz_TPBaseR_Ext>(pConn);
			c.pTable = std::make_unique<SqlTable>(c.pRec.get(), pConn->GetDefaultSqlSession());
			c.pTable->Open(FALSE, FALSE, TRUE);
			c.pTable->SelectAll();
			pCursore = &c;
		}
		Kvz_New_Cursore& c = *pCursore;
		SqlTable& t = *c.pTable;
		auto* pPB = dynamic_cast<Kvz_TPBaseR_Ext*>(c.pRec.get());
		auto* pBU = dynamic_cast<Kvz_TBudgetR_Ext*>(c.pRec.get());
		DataInt& colMese = bBudget ? pBU->f_Mese : pPB->f_Mese;
		DataStr& colConto = bBudget ? pBU->f_ContoKvz : pPB->f_ContoKvz;
		DataStr& colCdc = bBudget ? pBU->f_CentroCommessa : pPB->f_CentroCommessa;
		DataLng& colTipoCdc = bBudget ? pBU->f_TipoCentroComm : pPB->f_TipoCentroComm;
		auto filtro = [&](LPCTSTR param, DataObj& colonna, const DataObj& valore, LPCTSTR ope = nullptr) {
			if (bDefinisci)
			{
				t.AddParam(param, colonna);
				t.AddFilterColumn(colonna, ope);
			}
			t.SetParamValue(param, valore);
		};
		auto tra = [&](DataObj& colonna, const DataObj& da, const DataObj& a, LPCTSTR p1, LPCTSTR p2) {
			if (bDefinisci)
			{
				t.AddParam(p1, colonna);
				t.AddParam(p2, colonna);
				t.AddBetweenColumn(colonna);
			}
			t.SetParamValue(p1, da);
			t.SetParamValue(p2, a);
		};
		if (bBudget)
			filtro("p17", pBU->f_TipoBudget,
				   DataLng(static_cast<long>((def.f_SelBudget ? def.f_TipoBudget : m_TipoBudget).GetValue())));
		filtro("p31", bBudget ? pBU->f_Esercizio : pPB->f_Esercizio, def.f_ValDaEsConst ? def.f_ValDaEs : m_Esercizio);
		ASSERT_RELEASE_TRACE(!m_MeseFinale.IsEmpty(), "!m_FinoAlMese.IsEmpty()", kSource);
		const int da = def.f_ValDaMeseConst ? def.f_ValDaMese.GetValue() : m_MeseIniziale.GetValue();
		int a = def.f_ValAMeseConst ? def.f_ValAMese.GetValue() : UltimoMese();
		if (a == 0)
			a = UltimoMese();
		const bool singleMonth = da == a;
		tra(colMese, DataInt(da), DataInt(a), "p3", "p4");
		if (!bElenco)
		{
			filtro("p14", colCdc, DataStr(""));
			if (opeConto <= 5)
				filtro("p5", colConto, def.f_ValDaConto, kOperatori[opeConto]);
			else if (opeConto == 6)
				tra(colConto, def.f_ValDaConto, def.f_ValAConto, "p5", "p6");
			else
			{
				if (bDefinisci)
					t.AddParam("p5", colConto);
				kvz_formula::FiltroModello(t, "p5", colConto, def.f_ValDaConto, bDefinisci);
			}
		}
		else if (bDefinisci)
		{
			t.AddParam("p16", colTipoCdc);
			t.AddFilterColumn(colTipoCdc);
			t.AddParam("p15", colCdc);
			t.AddFilterColumn(colCdc);
			if (bContoFiltrato)
			{
				t.AddParam("p5", colConto);
				t.AddFilterColumn(colConto);
			}
		}
		// The grouping by month needs the rows in month order.
		if (bDefinisci)
			t.AddSortColumn(colMese);

		auto valore = [&]() -> double {
			if (bBudget)
				return pBU->f_ImportoMese.GetValue();
			const double saldo = pPB->f_SaldoContabile.GetValue(), rateo = pPB->f_ImportoRateo.GetValue();
			return scelta == 0 ? saldo : scelta == 1 ? rateo : std::fabs(rateo) < eps ? saldo : pPB->f_TotaleAssestato.GetValue();
		};
		for (const Voce& voce : voci)
		{
			if (bElenco)
			{
				t.SetParamValue("p16", DataLng(static_cast<long>(voce.tipo.GetValue())));
				t.SetParamValue("p15", voce.cdc);
				if (bContoFiltrato)
					t.SetParamValue("p5", voce.conto);
			}
			// A list always sums its signed amounts and adds each month to what the other
			// entries gave; a symbol of one month is that month in every month, every entry's.
			Kvz_New_AggregatoMese aggregato(bElenco ? 0 : def.f_AggregFunction.GetItemValue(), [&](int mese, double v) {
				for (int m = singleMonth ? 1 : mese; m <= (singleMonth ? 12 : mese); ++m)
					simbolo.m_Valori[m - 1] = bElenco ? simbolo.m_Valori[m - 1].GetValue() + v : v;
			});
			for (t.Query(); !t.IsEOF(); t.MoveNext())
				aggregato.Riga(colMese.GetValue(), voce.bSottrae ? -valore() : valore());
			aggregato.Chiudi();
		}
	}
	catch (const std::exception& e)
	{
		AfxMessageBox(CString(std::string(e.what()).substr(0, 255)));
		return FALSE;
	}
	return TRUE;
}

std::vector<Kvz_ContoLivello> Kvz_ContiDellaCondizione(SqlConnection* pConn, const DataInt& aEsercizio, int ope,
													   const DataStr& aDa, const DataStr& aA)
{
	Kvz_TAnagContiKvz_Ext rec(pConn);
	auto apri = [&](SqlTable& t) {
		t.Open(FALSE);
		t.SelectAll();
		t.AddParam("p18", rec.f_Esercizio);
		t.AddFilterColumn(rec.f_Esercizio);
	};
	// Every account's parent, for the level of those selected.
	std::map<CString, CString> padri;
	{
		SqlTable t(&rec, pConn->GetDefaultSqlSession());
		apri(t);
		t.SetParamValue("p18", aEsercizio);
		for (t.Query(); !t.IsEOF(); t.MoveNext())
			padri[Kvz_New_MngFormula::ChiaveTesto(rec.f_ContoKvz.GetString())] =
				Kvz_New_MngFormula::ChiaveTesto(rec.f_ContoKvzPadre.GetString());
		t.Close();
	}
	auto livello = [&](const CString& strConto) {
		int n = 1;
		CString c = Kvz_New_MngFormula::ChiaveTesto(strConto);
		// Bounded: a register whose parents go round never ends the climb.
		for (; n < 64; ++n)
		{
			auto it = padri.find(c);
			if (it == padri.end() || it->second.IsEmpty() || padri.find(it->second) == padri.end())
				break;
			c = it->second;
		}
		return n;
	};
	std::vector<Kvz_ContoLivello> conti;
	SqlTable t(&rec, pConn->GetDefaultSqlSession());
	apri(t);
	t.AddParam("p20", rec.f_ContoKvz);
	if (ope == 6)
	{
		t.AddParam("p21", rec.f_ContoKvz);
		t.AddBetweenColumn(rec.f_ContoKvz);
	}
	else if (ope == 7)
		t.AddFilterColumn(rec.f_ContoKvz, "LIKE");
	else
		t.AddFilterColumn(rec.f_ContoKvz, kOperatori[std::clamp(ope, 0, 5)]);
	t.AddSortColumn(rec.f_ContoKvz);
	t.SetParamValue("p18", aEsercizio);
	if (ope == 7)
		t.SetParamValue("p20", DataStr(kvz_formula::ModelloLike(aDa.GetString())));
	else
		t.SetParamValue("p20", aDa);
	if (ope == 6)
		t.SetParamValue("p21", aA);
	for (t.Query(); !t.IsEOF(); t.MoveNext())
		conti.push_back({rec.f_ContoKvz.GetString(), rec.f_Descrizione.GetString(), livello(rec.f_ContoKvz.GetString())});
	t.Close();
	return conti;
}

CString Kvz_TestoLivelliConti(const CString& strNome, const std::vector<Kvz_ContoLivello>& conti)
{
	std::map<int, CString> esempi;  // the first account of each level
	for (const Kvz_ContoLivello& c : conti)
		esempi.try_emplace(c.livello, c.conto);
	if (esempi.size() < 2)
		return "";
	std::string livelli;
	for (const auto& [n, conto] : esempi)
		livelli += fmt::format("{}{} {}: {}", livelli.empty() ? "" : ", ",
							   AfxLoadSourceString("livello", kSource).str(), n, conto.str());
	return CString::Formatted(AfxLoadSourceString("Il simbolo %s prende conti di piu' livelli del raggruppamento (%s): "
												  "gli importi di un conto sono anche nei conti che lo raggruppano e "
												  "verrebbero contati piu' volte.",
												  kSource),
							  strNome.GetString(), livelli.c_str());
}
