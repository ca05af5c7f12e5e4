#pragma once
// Registry of the formula symbols: one row per fiscal year, model and symbol name; the kind
// says which definition table holds the symbol.
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "kvznet/kvzmod/kvzdbl/KvzDblSymbolKeys.h"

class Kvz_TAnagSimboli : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TAnagSimboli, SqlRecord)
public:
	explicit Kvz_TAnagSimboli(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_AnagSimboli"); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataStr f_ModelloRiclassific;
	DataStr f_NomeSimbolo;
	DataEnum f_TipoSimbolo{E_KVZ_TIPOSIMBOLO, 0};  // 0 base plan, 1 extra-accounting, 3 reclassified, 6 result
	DataDate f_DataCreazione;
	DataDate f_DataUltModifica;
	DataBool f_UsaAziendaEsterna;
	DataStr f_Azienda;
};

// The same table on a given connection (another company's database); the kind is read as
// the plain long integer stored.
class Kvz_TAnagSimboli_Ext : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TAnagSimboli_Ext, SqlRecord)
public:
	explicit Kvz_TAnagSimboli_Ext(BOOL bCallInit = TRUE);
	Kvz_TAnagSimboli_Ext(SqlConnection* pConnection, BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return Kvz_TAnagSimboli::GetStaticName(); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataStr f_ModelloRiclassific;
	DataStr f_NomeSimbolo;
	DataLng f_TipoSimbolo;
	DataDate f_DataCreazione;
	DataDate f_DataUltModifica;
	DataBool f_UsaAziendaEsterna;
	DataStr f_Azienda;
};

class Kvz_TRAnagSimboli : public SymbolKeyedReader
{
	DECLARE_DYNAMIC(Kvz_TRAnagSimboli, TableReader)
public:
	explicit Kvz_TRAnagSimboli(CBaseDocument* pDocument = nullptr);
	Kvz_TAnagSimboli* GetRecord() const;
};

class Kvz_TUAnagSimboli : public SymbolKeyedUpdater
{
	DECLARE_DYNAMIC(Kvz_TUAnagSimboli, TableUpdater)
public:
	explicit Kvz_TUAnagSimboli(CBaseDocument* pDocument = nullptr, CMessages* pMessages = nullptr);
	Kvz_TAnagSimboli* GetRecord() const;
};
