#pragma once
// The warehouses used by cost drivers and floor areas.
#include "kvznet/kvzdrivers/kvzdriversdbl/DriversHotLink.h"

class TKvzDriversMagazzini : public SqlRecord
{
	DECLARE_DYNCREATE(TKvzDriversMagazzini, SqlRecord)
public:
	explicit TKvzDriversMagazzini(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("KvzDriversMagazzini"); }
	void BindRecord() override;

	DataStr f_CodMagazzino;
	DataStr f_Descrizione;
	DataStr f_Nota1;
	DataStr f_Nota2;
	DataStr f_Nota3;
	DataStr f_Nota4;
};

// Every warehouse, whatever the year.
class HKLKvzDriversMagazzini : public DriversHotLink
{
	DECLARE_DYNCREATE(HKLKvzDriversMagazzini, DriversHotLink)
public:
	HKLKvzDriversMagazzini() : DriversHotLink(TKvzDriversMagazzini::GetThisClass()) {}
	TKvzDriversMagazzini* GetRecord() const { return TypedRecord<TKvzDriversMagazzini>(); }
	DataObj* GetDataObj() const override { return &GetRecord()->f_CodMagazzino; }
	void SetCodMagazzino(const DataStr& aCodMagazzino) { m_CodMagazzino = aCodMagazzino; }
	void SetDescrizione(const DataStr& aDescrizione) { m_Descrizione = aDescrizione; }

private:
	DataStr m_CodMagazzino;  // kept for the documents; the query reads neither
	DataStr m_Descrizione;
};
