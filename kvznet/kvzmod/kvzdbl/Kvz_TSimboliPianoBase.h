#pragma once
// Definitions of base-plan symbols: an aggregate over base-plan rows chosen by conditions on
// year, month, account, cost centre or job, and three amounts. One row per fiscal year, model
// and symbol name.
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "kvznet/kvzmod/kvzdbl/KvzDblSymbolKeys.h"

class Kvz_TSimboliPianoBase : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TSimboliPianoBase, SqlRecord)
public:
	explicit Kvz_TSimboliPianoBase(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_SimboliPianoBase"); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataStr f_ModelloRiclassific;
	DataStr f_NomeSimbolo;
	DataStr f_Annotazioni;
	DataBool f_SelSaldo;
	DataBool f_SelRateo;
	DataBool f_SelTotAss;
	DataBool f_SelBudget;
	DataEnum f_TipoBudget{E_KVZ_TIPOBUDGET, 0};
	DataEnum f_AggregFunction{E_KVZ_AGGREGFUNCTION, 0};
	// Year condition.
	DataBool f_WhereEs;
	DataEnum f_TipoOpeEs{E_KVZ_TIPOOPERATORE, 0};
	DataBool f_ValDaEsConst;
	DataBool f_ValDaEsSymb;
	DataInt f_ValDaEs;
	DataBool f_ValAEsConst;
	DataBool f_ValAEsSymb;
	DataInt f_ValAEs;
	// Month condition.
	DataBool f_WhereMese;
	DataEnum f_TipoOpeMese{E_KVZ_TIPOOPERATORE, 0};
	DataBool f_ValDaMeseConst;
	DataBool f_ValDaMeseSymb;
	DataInt f_ValDaMese;
	DataBool f_ValAMeseConst;
	DataBool f_ValAMeseSymb;
	DataInt f_ValAMese;
	// Account and cost-centre-or-job condition; the account operator has its own tag.
	DataBool f_WhereConto;
	DataBool f_WhereCdcComm;
	DataBool f_SelContoVuoto;
	DataEnum f_TipoOpeConto{E_KVZ_TIPOOPECONTO, 0};
	DataStr f_ValDaConto;  // account bounds are stored as given
	DataStr f_ValAConto;
	DataBool f_ElencoConti;
	DataBool f_ElencoContiCdcComm;
	// Amount conditions.
	DataBool f_WhereSaldo;
	DataEnum f_TipoOpeSaldo{E_KVZ_TIPOOPERATORE, 0};
	DataMon f_ValDaSaldo;
	DataMon f_ValASaldo;
	DataBool f_WhereRateo;
	DataEnum f_TipoOpeRateo{E_KVZ_TIPOOPERATORE, 0};
	DataMon f_ValDaRateo;
	DataMon f_ValARateo;
	DataBool f_WhereTotAss;
	DataEnum f_TipoOpeTotAss{E_KVZ_TIPOOPERATORE, 0};
	DataMon f_ValDaTotAss;
	DataMon f_ValATotAss;
};

// Whether the symbol's account condition (not a list) takes the grouped account, as the query
// that values it compares: "=", "<=", ">=", "<", ">", "<>", a range, or a pattern ("%" or "*"
// any text, "_" or "?" one character; none of them: the accounts that begin with it).
bool Kvz_CondizioneContoPrende(const Kvz_TSimboliPianoBase& def, const CString& strConto);

class Kvz_TRSimboliPianoBase : public SymbolKeyedReader
{
	DECLARE_DYNAMIC(Kvz_TRSimboliPianoBase, TableReader)
public:
	explicit Kvz_TRSimboliPianoBase(CBaseDocument* pDocument = nullptr);
	Kvz_TSimboliPianoBase* GetRecord() const;
};

class Kvz_TUSimboliPianoBase : public SymbolKeyedUpdater
{
	DECLARE_DYNAMIC(Kvz_TUSimboliPianoBase, TableUpdater)
public:
	explicit Kvz_TUSimboliPianoBase(CBaseDocument* pDocument = nullptr, CMessages* pMessages = nullptr);
	Kvz_TSimboliPianoBase* GetRecord() const;
};
