#pragma once
// The accounts and the cost centres or jobs chosen for a base-plan symbol: one row per fiscal
// year, model, symbol, account, cost-centre-or-job type and cost centre or job.
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "kvznet/kvzmod/kvzdbl/KvzDblSymbolKeys.h"

class Kvz_TElencoContiSimboloPBase : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TElencoContiSimboloPBase, SqlRecord)
public:
	explicit Kvz_TElencoContiSimboloPBase(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_ElencoContiSimboloPBase"); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataStr f_ModelloRiclassific;
	DataStr f_NomeSimbolo;  // stored as given, unlike the other symbol tables
	DataStr f_ContoSelez;
	DataEnum f_TipoCentroComm{E_KVZ_TIPOCENTROCOMM, 0};
	DataStr f_CentroCommessa;
	DataEnum f_SegnoConto{E_KVZ_SEGNOCONTO, 0};
	DataBool f_SelContoVuoto;
};

// Finds a row of a symbol's list by account and cost centre or job, by account only, or by
// cost centre or job only.
class Kvz_TRElencoContiSimboloPBase : public SymbolKeyedReader
{
	DECLARE_DYNAMIC(Kvz_TRElencoContiSimboloPBase, TableReader)
public:
	explicit Kvz_TRElencoContiSimboloPBase(CBaseDocument* pDocument = nullptr);
	FindResult FindRecord(const DataInt& aEsercizio, const DataStr& aNomeSimbolo, const DataStr& aModelloRiclassific,
						  const DataStr& aContoSelez, const DataEnum& aTipoCentroComm, const DataStr& aCentroCommessa);
	// A row of that account, whatever its cost centre or job.
	FindResult FindRecord(const DataInt& aEsercizio, const DataStr& aNomeSimbolo, const DataStr& aModelloRiclassific,
						  const DataStr& aContoSelez);
	// A row of that cost centre or job, whatever its account.
	FindResult FindRecord(const DataInt& aEsercizio, const DataStr& aNomeSimbolo, const DataStr& aModelloRiclassific,
						  const DataEnum& aTipoCentroComm, const DataStr& aCentroCommessa);
	Kvz_TElencoContiSimboloPBase* GetRecord() const;

protected:
	void OnDefineQuery() override;
	void OnPrepareQuery() override;

	DataStr m_ContoSelez;
	DataEnum m_TipoCentroComm;
	DataStr m_CentroCommessa;
	DataBool m_SaltaCdcComm;
	DataBool m_SaltaConto;

private:
	FindResult Find(BOOL bSaltaCdcComm, BOOL bSaltaConto);
	// The filters of the open cursor follow the flags it was defined with.
	bool m_bDefinedSaltaCdcComm = false;
	bool m_bDefinedSaltaConto = false;
};
