#pragma once
// Work table of the symbol explosion: the accounts behind each symbol of a model's rows, one row
// per year, model, reclassified code, symbol and account.
#include "platform/plvges/KeyedQuery.h"

class Kvz_TmpEsplosioneCodici : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TmpEsplosioneCodici, SqlRecord)
public:
	explicit Kvz_TmpEsplosioneCodici(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_TmpEsplosioneCodici"); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataStr f_ModelloRiclassific;
	DataStr f_CodRiclassificato;
	DataStr f_Descrizione;
	DataStr f_Simbolo;
	DataStr f_DescrizioneSimbolo;
	DataStr f_Conto;
	DataStr f_DescrizioneConto;
	DataMon f_ValoreContabile;
	DataMon f_ValorePrevisionale;
	DataMon f_ValoreAssestamento;
	DataMon f_Totale;
};

// Only the reclassified code makes the query empty.
class Kvz_TUTmpEsplosioneCodici : public KeyedUpdater
{
	DECLARE_DYNAMIC(Kvz_TUTmpEsplosioneCodici, TableUpdater)
public:
	explicit Kvz_TUTmpEsplosioneCodici(CBaseDocument* pDocument = nullptr, CMessages* pMessages = nullptr);
	FindResult FindRecord(const DataInt& aEsercizio, const DataStr& aModello, const DataStr& aCodice,
						  const DataStr& aSimbolo, const DataStr& aConto, BOOL bLock);
	Kvz_TmpEsplosioneCodici* GetRecord() const;

protected:
	DataInt m_Esercizio;
	DataStr m_Modello;
	DataStr m_Codice;
	DataStr m_Simbolo;
	DataStr m_Conto;
};
