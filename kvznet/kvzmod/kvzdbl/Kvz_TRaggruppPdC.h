#pragma once
// Grouping data the module keeps beside each account of the host's chart of accounts.
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "platform/plvges/KeyedQuery.h"

class Kvz_TRaggruppPdC : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TRaggruppPdC, SqlRecord)
public:
	explicit Kvz_TRaggruppPdC(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_RaggruppPdC"); }
	void BindRecord() override;

	DataStr f_Conto;
	DataBool f_PrimoLivello;
	DataBool f_SecondoLivello;
	DataBool f_TerzoLivello;
	DataBool f_QuartoLivello;
	DataBool f_QuintoLivello;
	DataBool f_SestoLivello;
	DataBool f_SettimoLivello;
	DataBool f_OttavoLivello;
	DataBool f_ProponiInAssestamento;
	DataBool f_ModificaInAssestamento;
	DataBool f_EsplodiInAnalitica;
	DataEnum f_TipoDettaglio{E_KVZ_TIPODETTAGLIO, 0};
	DataStr f_ContoPatrimoniale;
	DataBool f_InversioneSegno;
	DataBool f_EscludiDaImportazione;
	DataStr f_CodiceBudget;
	DataBool f_EscludereContoDaImportazione;
};

class Kvz_TEnhRaggruppPdC : public Kvz_TRaggruppPdC
{
	DECLARE_DYNCREATE(Kvz_TEnhRaggruppPdC, Kvz_TRaggruppPdC)
public:
	explicit Kvz_TEnhRaggruppPdC(BOOL bCallInit = TRUE);
	void BindRecord() override;

	DataStr l_DalConto;
	DataStr l_DescrDalConto;
	DataStr l_AlConto;
	DataStr l_DescrAlConto;
	DataStr l_DescrContoPatrim;
};

class Kvz_TRRaggruppPdC : public KeyedReader
{
	DECLARE_DYNAMIC(Kvz_TRRaggruppPdC, TableReader)
public:
	explicit Kvz_TRRaggruppPdC(CBaseDocument* pDocument = nullptr);
	FindResult FindRecord(const DataStr& aConto);
	Kvz_TRaggruppPdC* GetRecord() const;

protected:
	DataStr m_Conto;
};
