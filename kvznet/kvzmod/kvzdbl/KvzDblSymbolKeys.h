#pragma once
// Readers and updaters of the tables keyed by fiscal year, model and symbol name. They take the
// name before the model, although the model is the second key column. Only an empty name stops
// the query: year 0 and an empty model are searched as they are.
#include <type_traits>
#include <utility>

#include "platform/plvges/KeyedQuery.h"

// The parameter names a table gives its year, name and model.
struct SymbolKeyParams
{
	LPCTSTR esercizio;
	LPCTSTR nome;
	LPCTSTR modello;
};

template <class Base>
class SymbolKeyedTable : public KeyedTable<Base>
{
public:
	TableReader::FindResult FindRecord(const DataInt& aEsercizio, const DataStr& aNomeSimbolo,
									   const DataStr& aModelloRiclassific)
		requires std::is_same_v<Base, TableReader>
	{
		SetKeys(aEsercizio, aNomeSimbolo, aModelloRiclassific);
		return TableReader::FindRecord();
	}

	TableReader::FindResult FindRecord(const DataInt& aEsercizio, const DataStr& aNomeSimbolo,
									   const DataStr& aModelloRiclassific, BOOL bLock)
		requires std::is_same_v<Base, TableUpdater>
	{
		SetKeys(aEsercizio, aNomeSimbolo, aModelloRiclassific);
		return TableUpdater::FindRecord(bLock, nullptr);
	}

protected:
	// The rest: the reader's or the updater's own arguments (record class, document...).
	template <class... Args>
	explicit SymbolKeyedTable(const SymbolKeyParams& params, Args&&... args)
		: KeyedTable<Base>(std::forward<Args>(args)...)
	{
		this->m_Keys.Add(params.esercizio, "Esercizio", m_Esercizio, false);
		this->m_Keys.Add(params.nome, "NomeSimbolo", m_NomeSimbolo);
		this->m_Keys.Add(params.modello, "ModelloRiclassific", m_ModelloRiclassific, false);
	}

	void SetKeys(const DataInt& aEsercizio, const DataStr& aNomeSimbolo, const DataStr& aModelloRiclassific)
	{
		m_Esercizio = aEsercizio;
		m_NomeSimbolo = aNomeSimbolo;
		m_ModelloRiclassific = aModelloRiclassific;
	}

	DataInt m_Esercizio;
	DataStr m_NomeSimbolo;
	DataStr m_ModelloRiclassific;
};

using SymbolKeyedReader = SymbolKeyedTable<TableReader>;
using SymbolKeyedUpdater = SymbolKeyedTable<TableUpdater>;
