#pragma once
// Split of grouped accounts over cost centres and jobs: per fiscal year and grouped account,
// each cost centre or job with its share of balances and of budgets.
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "platform/plvges/HotKeyLink.h"
#include "platform/plvges/KeyedQuery.h"

class Kvz_TCentriCommesseContiKvz : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TCentriCommesseContiKvz, SqlRecord)
public:
	explicit Kvz_TCentriCommesseContiKvz(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_CentriCommPianoConti"); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataStr f_ContoKvz;
	DataStr f_CentroCommessa;
	DataStr f_Descrizione;
	DataEnum f_Tipo{E_KVZ_TIPOCENTROCOMM, 0};
	DataBool f_InseritoManualmente;
	DataPerc f_PercRipartizione;
	DataStr f_Nota;
	DataBool f_InseritoDaSimbolo;
	DataBool f_SaldoVariato;
	DataPerc f_PercRipartizioneBudget;

	DataInt l_StatusBmp;
};

class Kvz_TEnhCentriCommesseContiKvz : public Kvz_TCentriCommesseContiKvz
{
	DECLARE_DYNCREATE(Kvz_TEnhCentriCommesseContiKvz, Kvz_TCentriCommesseContiKvz)
public:
	explicit Kvz_TEnhCentriCommesseContiKvz(BOOL bCallInit = TRUE);
	void BindRecord() override;

	DataMon l_SaldoDelMese;
	DataLng l_IDPianoBase;
	DataStr l_Tmp;
	DataBool l_Modified;
	DataEnum l_SegnoConto{E_KVZ_SEGNOCONTO, 0};
};

// The same table on a given connection (another company's database); the type is read as
// the plain long integer stored.
class Kvz_TCentriCommesseConti_Ext : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TCentriCommesseConti_Ext, SqlRecord)
public:
	explicit Kvz_TCentriCommesseConti_Ext(BOOL bCallInit = TRUE);
	Kvz_TCentriCommesseConti_Ext(SqlConnection* pConnection, BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return Kvz_TCentriCommesseContiKvz::GetStaticName(); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataStr f_ContoKvz;
	DataStr f_CentroCommessa;
	DataStr f_Descrizione;
	DataLng f_Tipo;
	DataBool f_InseritoManualmente;
	DataPerc f_PercRipartizione;
	DataStr f_Nota;
	DataBool f_InseritoDaSimbolo;
	DataBool f_SaldoVariato;
	DataPerc f_PercRipartizioneBudget;

	DataInt l_StatusBmp;
};

class Kvz_TUCentriCommesseContiKvz : public KeyedUpdater
{
	DECLARE_DYNAMIC(Kvz_TUCentriCommesseContiKvz, TableUpdater)
public:
	explicit Kvz_TUCentriCommesseContiKvz(CBaseDocument* pDocument = nullptr, CMessages* pMessages = nullptr);
	FindResult FindRecord(const DataInt& aEsercizio, const DataStr& aConto, const DataStr& aCentroCommessa,
						  const DataEnum& aTipo, BOOL bLock);
	Kvz_TCentriCommesseContiKvz* GetRecord() const;

protected:
	DataInt m_Esercizio;
	DataStr m_Conto;
	DataStr m_CentroCommessa;
	DataEnum m_Tipo;
};

// The cost centres and jobs of one grouped account in one year.
class Kvz_HKLCentriCommContiKvz : public HotKeyLink
{
	DECLARE_DYNCREATE(Kvz_HKLCentriCommContiKvz, HotKeyLink)
public:
	Kvz_HKLCentriCommContiKvz();
	void SetSelEsercizio(const DataInt& aEsercizio) { m_SelEsercizio = aEsercizio; }
	void SetSelContoKvz(const DataStr& aConto) { m_SelContoKvz = aConto; }
	Kvz_TCentriCommesseContiKvz* GetRecord() const;
	DataObj* GetDataObj() const override;

protected:
	void OnDefineQuery(int nSelectionType) override;
	void OnPrepareQuery(DataObj* pValue, int nSelectionType) override;

private:
	DataInt m_SelEsercizio;
	DataStr m_SelContoKvz;
};
