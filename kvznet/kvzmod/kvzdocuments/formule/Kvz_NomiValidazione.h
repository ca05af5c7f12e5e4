#pragma once
// What the formula checks of a document read of one year and model: the symbols' registry rows,
// the macros' texts and the symbols' definitions. Each table is read whole, in one query, the
// first time it is asked of, and answered from memory after that, a name it lacks too. What was
// read is kept while this process changes no database (a write, commit or rollback of its own,
// by any document, may have added or removed a symbol); Svuota forgets it, for a save that must
// see what other processes wrote since. Reads on the current company's default session, as the
// checks did one name at a time.
class SqlConnection;
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagSimboli.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciExtracont.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciRiclass.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliOutputRiclass.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliPianoBase.h"
#include "platform/erp/erpstockcomponents/ErpSymTable.h"

class Kvz_NomiValidazione
{
public:
	// What a lookup found: the row, no row, or nothing known (the table could not be read: the
	// error was shown, and the caller asks the database as before).
	enum Esito
	{
		TROVATO,
		ASSENTE,
		NON_LETTO,
	};

	void Svuota();

	// Adds "_" + every symbol name and "__" + every macro name of the year and model to the
	// table; an error is shown (with the caller's method) and the names read so far stay.
	void AggiungiNomi(ErpSymTable& table, const DataInt& aEsercizio, const DataStr& aModello, const char* method);
	// The registry row of a name as the database finds it by key (ASCII letters without case;
	// bEsatto: the name must also be written as stored).
	Esito Simbolo(const DataInt& aEsercizio, const DataStr& aModello, const CString& strNome, bool bEsatto,
				  const Kvz_TAnagSimboli*& pRiga);
	// The text of a macro, its name matched exactly.
	Esito Macro(const DataInt& aEsercizio, const DataStr& aModello, const CString& strNome, CString& strFormula);
	// A symbol's definition in the table of its kind, found as by key.
	template <class Rec>
	Esito Definizione(const DataInt& aEsercizio, const DataStr& aModello, const CString& strNome, const Rec*& pDef);

	// The key a name is found by: ASCII letters folded, as the database compares names.
	static std::string Chiave(const CString& strNome);

private:
	struct Tabella
	{
		bool bLetta = false;
		std::vector<std::unique_ptr<SqlRecord>> righe;  // in name order
		std::vector<CString> nomi;						 // theirs, as stored
		std::map<std::string, const SqlRecord*> indice;  // by Chiave of the name (macros: by the name)
	};
	enum QualeTabella
	{
		SIMBOLI,
		MACRO,
		RICLASSIFIC,
		PIANOBASE,
		EXTRACONT,
		OUTPUT,
		N_TABELLE,
	};
	// The table read for the year and model (a new year or model, or a change made by this
	// process, forgets what was read); null when the reading failed.
	Tabella* Leggi(QualeTabella quale, const DataInt& aEsercizio, const DataStr& aModello, const char* method);
	template <class Rec>
	static constexpr QualeTabella TabellaDi()
	{
		if constexpr (std::is_same_v<Rec, Kvz_TSimboliCodiciRiclass>)
			return RICLASSIFIC;
		else if constexpr (std::is_same_v<Rec, Kvz_TSimboliPianoBase>)
			return PIANOBASE;
		else if constexpr (std::is_same_v<Rec, Kvz_TSimboliCodiciExtracont>)
			return EXTRACONT;
		else
		{
			static_assert(std::is_same_v<Rec, Kvz_TSimboliOutputRiclass>);
			return OUTPUT;
		}
	}
	template <class Rec>
	static void Righe(Tabella& t, DataStr Rec::*pNome, bool bEsatto, const DataInt& aEsercizio,
					  const DataStr& aModello);

	int m_nEsercizio = 0;
	CString m_strModello;
	std::uint64_t m_nCambi = 0;
	const SqlConnection* m_pConnessione = nullptr;  // the current company's, and its database
	CString m_strDatabase;
	bool m_bValido = false;
	Tabella m_Tabelle[N_TABELLE];
};

template <class Rec>
Kvz_NomiValidazione::Esito Kvz_NomiValidazione::Definizione(const DataInt& aEsercizio, const DataStr& aModello,
															 const CString& strNome, const Rec*& pDef)
{
	pDef = nullptr;
	if (strNome.IsEmpty())
		return ASSENTE;
	Tabella* p = Leggi(TabellaDi<Rec>(), aEsercizio, aModello, "Kvz_NomiValidazione::Definizione");
	if (!p)
		return NON_LETTO;
	auto it = p->indice.find(Chiave(strNome));
	if (it == p->indice.end())
		return ASSENTE;
	pDef = static_cast<const Rec*>(it->second);
	return TROVATO;
}
