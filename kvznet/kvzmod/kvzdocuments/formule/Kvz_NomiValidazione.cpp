#include "kvznet/kvzmod/kvzdocuments/formule/Kvz_NomiValidazione.h"

#include <exception>

#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagMacro.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormula.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormulaErrori.h"
#include "platform/plvoledb/SqlConnection.h"
#include "platform/plvoledb/SqlTable.h"
#include "platform/plvparser/Expression.h"

namespace {
const char* const kSource = "MngFormula";

// Every row of the year and model, in name order (what the name-by-name lookups would find),
// and each one by the key its name is found by.
template <class Rec>
void LeggiRighe(std::vector<std::unique_ptr<SqlRecord>>& righe, std::map<std::string, const SqlRecord*>& indice,
				std::vector<CString>& nomi, DataStr Rec::*pNome, bool bEsatto, const DataInt& aEsercizio,
				const DataStr& aModello)
{
	Rec rec;
	SqlTable table(&rec, AfxGetDefaultSqlSession());
	table.Open(FALSE, FALSE, TRUE);
	table.SelectAll();
	table.AddParam("p25", rec.f_Esercizio);
	table.AddFilterColumn(rec.f_Esercizio);
	table.AddParam("p23", rec.f_ModelloRiclassific);
	table.AddFilterColumn(rec.f_ModelloRiclassific);
	table.AddSortColumn(rec.*pNome);
	table.SetParamValue("p25", aEsercizio);
	table.SetParamValue("p23", aModello);
	for (table.Query(); !table.IsEOF(); table.MoveNext())
	{
		const CString& nome = (rec.*pNome).GetString();
		righe.emplace_back(rec.Clone());
		nomi.push_back(nome);
		indice.emplace(bEsatto ? nome.str() : Kvz_NomiValidazione::Chiave(nome), righe.back().get());
	}
	table.Close();
}
}  // namespace

template <class Rec>
void Kvz_NomiValidazione::Righe(Tabella& t, DataStr Rec::*pNome, bool bEsatto, const DataInt& aEsercizio,
								const DataStr& aModello)
{
	LeggiRighe(t.righe, t.indice, t.nomi, pNome, bEsatto, aEsercizio, aModello);
}

std::string Kvz_NomiValidazione::Chiave(const CString& strNome)
{
	return Kvz_New_MngFormula::ChiaveTesto(strNome).str();
}

void Kvz_NomiValidazione::Svuota()
{
	m_bValido = false;
	for (Tabella& t : m_Tabelle)
		t = Tabella();
}

Kvz_NomiValidazione::Tabella* Kvz_NomiValidazione::Leggi(QualeTabella quale, const DataInt& aEsercizio,
														  const DataStr& aModello, const char* method)
{
	SqlConnection* pConnessione = AfxGetDefaultSqlConnection();
	if (!m_bValido || m_nEsercizio != aEsercizio.GetValue() || m_strModello != aModello.GetString() ||
		m_nCambi != AfxGetDatabaseChanges() || m_pConnessione != pConnessione ||
		(pConnessione && m_strDatabase != pConnessione->GetDatabasePath()))
	{
		Svuota();
		m_bValido = true;
		m_nEsercizio = aEsercizio.GetValue();
		m_strModello = aModello.GetString();
		m_nCambi = AfxGetDatabaseChanges();
		m_pConnessione = pConnessione;
		m_strDatabase = pConnessione ? pConnessione->GetDatabasePath() : CString();
	}
	Tabella& t = m_Tabelle[quale];
	if (t.bLetta)
		return &t;
	t = Tabella();
	try
	{
		switch (quale)
		{
		case SIMBOLI: Righe(t, &Kvz_TAnagSimboli::f_NomeSimbolo, false, aEsercizio, aModello); break;
		// Macro names are matched exactly: two that differ in case alone are two macros.
		case MACRO: Righe(t, &Kvz_TAnagMacro::f_NomeMacro, true, aEsercizio, aModello); break;
		case RICLASSIFIC: Righe(t, &Kvz_TSimboliCodiciRiclass::f_NomeSimbolo, false, aEsercizio, aModello); break;
		case PIANOBASE: Righe(t, &Kvz_TSimboliPianoBase::f_NomeSimbolo, false, aEsercizio, aModello); break;
		case EXTRACONT: Righe(t, &Kvz_TSimboliCodiciExtracont::f_NomeSimbolo, false, aEsercizio, aModello); break;
		case OUTPUT: Righe(t, &Kvz_TSimboliOutputRiclass::f_NomeSimbolo, false, aEsercizio, aModello); break;
		default: break;
		}
	}
	catch (const std::exception& e)
	{
		// The rows read so far stay in the table for the names, but nothing is answered from it.
		MostraErroreSql(e, method, kSource);
		return nullptr;
	}
	t.bLetta = true;
	return &t;
}

void Kvz_NomiValidazione::AggiungiNomi(ErpSymTable& table, const DataInt& aEsercizio, const DataStr& aModello,
									   const char* method)
{
	const Tabella* pSimboli = Leggi(SIMBOLI, aEsercizio, aModello, method);
	for (const CString& nome : m_Tabelle[SIMBOLI].nomi)
		table.Add("_" + nome, DataType::Double);
	// After a failure the others count as unknown.
	if (!pSimboli || !Leggi(MACRO, aEsercizio, aModello, method))
		return;
	for (const CString& nome : m_Tabelle[MACRO].nomi)
		table.Add("__" + nome, DataType::Double);
}

Kvz_NomiValidazione::Esito Kvz_NomiValidazione::Simbolo(const DataInt& aEsercizio, const DataStr& aModello,
														 const CString& strNome, bool bEsatto,
														 const Kvz_TAnagSimboli*& pRiga)
{
	pRiga = nullptr;
	if (strNome.IsEmpty())
		return ASSENTE;
	Tabella* p = Leggi(SIMBOLI, aEsercizio, aModello, "Kvz_NomiValidazione::Simbolo");
	if (!p)
		return NON_LETTO;
	auto it = p->indice.find(Chiave(strNome));
	if (it == p->indice.end())
		return ASSENTE;
	const auto* pTrovata = static_cast<const Kvz_TAnagSimboli*>(it->second);
	if (bEsatto && pTrovata->f_NomeSimbolo.GetString() != strNome)
		return ASSENTE;
	pRiga = pTrovata;
	return TROVATO;
}

Kvz_NomiValidazione::Esito Kvz_NomiValidazione::Macro(const DataInt& aEsercizio, const DataStr& aModello,
													   const CString& strNome, CString& strFormula)
{
	if (strNome.IsEmpty())
		return ASSENTE;
	Tabella* p = Leggi(MACRO, aEsercizio, aModello, "Kvz_NomiValidazione::Macro");
	if (!p)
		return NON_LETTO;
	auto it = p->indice.find(strNome.str());
	if (it == p->indice.end())
		return ASSENTE;
	strFormula = static_cast<const Kvz_TAnagMacro*>(it->second)->f_Formula.GetString();
	return TROVATO;
}
