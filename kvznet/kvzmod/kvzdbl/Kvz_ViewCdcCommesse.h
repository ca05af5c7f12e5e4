#pragma once
// The cost centres and jobs that can be chosen in each fiscal year: a view the company
// database defines over the host's cost centres and jobs.
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "platform/plvges/HotKeyLink.h"

class Kvz_ViewCdcCommesse : public SqlRecordView
{
	DECLARE_DYNCREATE(Kvz_ViewCdcCommesse, SqlRecordView)
public:
	Kvz_ViewCdcCommesse();
	static LPCTSTR GetStaticName() { return _T("Kvz_VwCdcCommesse"); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataStr f_CentroCommessa;
	DataStr f_Descrizione;
	DataEnum f_Tipo{E_KVZ_TIPOCENTROCOMM, 0};

	DataBool l_Sel;
	DataBool l_OldSel;
	DataBool l_SelContiModif;
	DataEnum l_SegnoConto{E_KVZ_SEGNOCONTO, 0};
	DataLng l_ContatoreGenerale;
	DataLng l_ContatoreDettaglio;
};

// The view with the type read as the plain long integer stored; another company's database
// is read by giving its connection (or through SetConnection).
class Kvz_ViewCdcCommesse_Ext : public SqlRecordView
{
	DECLARE_DYNCREATE(Kvz_ViewCdcCommesse_Ext, SqlRecordView)
public:
	explicit Kvz_ViewCdcCommesse_Ext(SqlConnection* pConnection = nullptr);
	static LPCTSTR GetStaticName() { return Kvz_ViewCdcCommesse::GetStaticName(); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataStr f_CentroCommessa;
	DataStr f_Descrizione;
	DataLng f_Tipo;
};

// A cost centre or job of the selected year, optionally of one type only.
class Kvz_HKLCentriComm : public HotKeyLink
{
	DECLARE_DYNCREATE(Kvz_HKLCentriComm, HotKeyLink)
public:
	Kvz_HKLCentriComm();
	void SetSelEsercizio(const DataInt& aEsercizio) { m_SelEsercizio = aEsercizio; }
	void SetSelTipo(const DataEnum& aTipo) { m_SelTipo = aTipo; }
	void SetSelPerTipo(const DataBool& bPerTipo) { m_SelPerTipo = bPerTipo; }
	Kvz_ViewCdcCommesse* GetRecord() const;
	DataObj* GetDataObj() const override;

protected:
	void OnDefineQuery(int nSelectionType) override;
	void OnPrepareQuery(DataObj* pValue, int nSelectionType) override;

private:
	DataInt m_SelEsercizio;
	DataEnum m_SelTipo;
	DataBool m_SelPerTipo;
};
