#pragma once
// Operators (login user names) allowed to print a model that is not open to all of them:
// one row per year, model and operator.
#include "platform/plvges/KeyedQuery.h"

class Kvz_TOperatoriStampe : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TOperatoriStampe, SqlRecord)
public:
	explicit Kvz_TOperatoriStampe(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_OperatoriStampe"); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataStr f_ModelloRiclassific;
	DataStr f_OperatoreStampa;
};

class Kvz_TROperatoriStampe : public KeyedReader
{
	DECLARE_DYNAMIC(Kvz_TROperatoriStampe, TableReader)
public:
	explicit Kvz_TROperatoriStampe(CBaseDocument* pDocument = nullptr);
	FindResult FindRecord(const DataInt& aEsercizio, const DataStr& aModello, const DataStr& aOperatore);
	Kvz_TOperatoriStampe* GetRecord() const;

protected:
	DataInt m_Esercizio;
	DataStr m_Modello;
	DataStr m_Operatore;
};
