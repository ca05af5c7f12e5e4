#pragma once
// Grouped accounts: one row per fiscal year and grouped account.
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "platform/plvges/HotKeyLink.h"
#include "platform/plvges/KeyedQuery.h"

class Kvz_TAnagContiKvz : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TAnagContiKvz, SqlRecord)
public:
	explicit Kvz_TAnagContiKvz(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_AnagConti"); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataStr f_ContoKvz;
	DataEnum f_TipoConto{E_TIPOCONTO, 0};
	DataEnum f_TipoMastro{E_TIPOMASTRO, 0};
	DataStr f_Descrizione;
	DataStr f_ContoCollegato;
	DataBool f_ProponiInAssest;
	DataBool f_ModifInAssest;
	DataBool f_InseritoManualmente;
	DataBool f_UltimoLivelloRaggrupp;
	DataStr f_ContoKvzPadre;
	DataBool f_InversioneSegno;
	DataStr f_CodiceBudget;
	DataBool f_AggiungiCdcCommAuto;
	DataBool f_SaldoVariato;

	DataInt l_StatusBmp;
	DataStr l_TmpInp;
};

class Kvz_TEnhAnagContiKvz : public Kvz_TAnagContiKvz
{
	DECLARE_DYNCREATE(Kvz_TEnhAnagContiKvz, Kvz_TAnagContiKvz)
public:
	explicit Kvz_TEnhAnagContiKvz(BOOL bCallInit = TRUE);
	void BindRecord() override;

	DataMon l_SaldoDelMese;
	DataLng l_IDPianoBase;
	DataStr l_Tmp;
	DataBool l_Modified;
	DataBool l_SelCommCdcModif;
	DataBool l_Sel;
	DataBool l_OldSel;
	DataEnum l_SegnoConto{E_KVZ_SEGNOCONTO, 0};
	DataLng l_ContatoreGenerale;
	DataLng l_ContatoreDettaglio;
	DataStr l_DalConto;
	DataStr l_DescrDalConto;
	DataStr l_AlConto;
	DataStr l_DescrAlConto;
	DataStr l_DescrContoPatrim;
};

// The same table on a given connection (another company's database); enumerations are read
// as the plain long integers stored.
class Kvz_TAnagContiKvz_Ext : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TAnagContiKvz_Ext, SqlRecord)
public:
	explicit Kvz_TAnagContiKvz_Ext(BOOL bCallInit = TRUE);
	Kvz_TAnagContiKvz_Ext(SqlConnection* pConnection, BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return Kvz_TAnagContiKvz::GetStaticName(); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataStr f_ContoKvz;
	DataLng f_TipoConto;
	DataLng f_TipoMastro;
	DataStr f_Descrizione;
	DataStr f_ContoCollegato;
	DataBool f_ProponiInAssest;
	DataBool f_ModifInAssest;
	DataBool f_InseritoManualmente;
	DataBool f_UltimoLivelloRaggrupp;
	DataStr f_ContoKvzPadre;
	DataBool f_InversioneSegno;
	DataStr f_CodiceBudget;
	DataBool f_AggiungiCdcCommAuto;
	DataBool f_SaldoVariato;

	DataInt l_StatusBmp;
};

class Kvz_TRAnagContiKvz : public KeyedReader
{
	DECLARE_DYNAMIC(Kvz_TRAnagContiKvz, TableReader)
public:
	explicit Kvz_TRAnagContiKvz(CBaseDocument* pDocument = nullptr);
	FindResult FindRecord(const DataInt& aEsercizio, const DataStr& aConto);
	Kvz_TEnhAnagContiKvz* GetRecord() const;

protected:
	DataInt m_Esercizio;
	DataStr m_Conto;
};

class Kvz_TUAnagContiKvz : public KeyedUpdater
{
	DECLARE_DYNAMIC(Kvz_TUAnagContiKvz, TableUpdater)
public:
	explicit Kvz_TUAnagContiKvz(CBaseDocument* pDocument = nullptr, CMessages* pMessages = nullptr);
	FindResult FindRecord(const DataInt& aEsercizio, const DataStr& aConto, BOOL bLock);
	Kvz_TEnhAnagContiKvz* GetRecord() const;

protected:
	DataInt m_Esercizio;
	DataStr m_Conto;
};

class KVZ_HKLAnagContiKvz : public HotKeyLink
{
	DECLARE_DYNCREATE(KVZ_HKLAnagContiKvz, HotKeyLink)
public:
	enum SelectionTipoConto
	{
		ALL = 0,
		ECONOMICI = 1,
		PATRIMONIALI = 2,
	};

	KVZ_HKLAnagContiKvz();
	void SetSelEsercizio(const DataInt& aEsercizio) { m_SelEsercizio = aEsercizio; }
	void SetSelTipoConto(SelectionTipoConto aTipo) { m_SelTipoConto = aTipo; }
	void SetSelFiltroAssestamento(BOOL bFiltro) { m_SelFiltroAssestamento = bFiltro; }
	const DataInt& GetSelEsercizio() const { return m_SelEsercizio; }
	Kvz_TAnagContiKvz* GetRecord() const;
	DataObj* GetDataObj() const override;
	BOOL IsValid() override;

protected:
	void OnDefineQuery(int nSelectionType) override;
	void OnPrepareQuery(DataObj* pValue, int nSelectionType) override;

private:
	DataInt m_SelEsercizio;
	SelectionTipoConto m_SelTipoConto = ALL;
	DataBool m_SelFiltroAssestamento;
};
