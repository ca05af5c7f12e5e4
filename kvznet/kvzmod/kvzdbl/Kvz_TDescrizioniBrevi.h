#pragma once
// Short descriptions of reclassified codes, for printing: one row per code. The table is made
// by the company database's setup, not by the catalog.
#include "platform/plvges/KeyedQuery.h"

class Kvz_TDescrizioniBrevi : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TDescrizioniBrevi, SqlRecord)
public:
	explicit Kvz_TDescrizioniBrevi(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_DescrizioniBrevi"); }
	void BindRecord() override;

	DataStr f_CodRiclassificato;
	DataStr f_DescrizioneBreve;
	DataBool f_Selezionata;  // stored here, unlike the models' selection flags
	DataStr f_ModelloPerVisDescr;

	DataStr l_DescrizioneModello;
};

class Kvz_TRDescrizioniBrevi : public KeyedReader
{
	DECLARE_DYNAMIC(Kvz_TRDescrizioniBrevi, TableReader)
public:
	explicit Kvz_TRDescrizioniBrevi(CBaseDocument* pDocument = nullptr);
	FindResult FindRecord(const DataStr& aCodice);
	Kvz_TDescrizioniBrevi* GetRecord() const;

protected:
	DataStr m_Codice;
};

class Kvz_TUDescrizioniBrevi : public KeyedUpdater
{
	DECLARE_DYNAMIC(Kvz_TUDescrizioniBrevi, TableUpdater)
public:
	explicit Kvz_TUDescrizioniBrevi(CBaseDocument* pDocument = nullptr, CMessages* pMessages = nullptr);
	FindResult FindRecord(const DataStr& aCodice, BOOL bLock);
	Kvz_TDescrizioniBrevi* GetRecord() const;

protected:
	DataStr m_Codice;
};
