#pragma once
// The choices some forms remember between uses (last filters and file names): typed keys of
// the section "KvzNet" of the module's settings file. The object holds no values itself.
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "platform/plvgeneric/Settings.h"

#define KVZ_SETTING_BOOL(name) \
	BOOL Get##name() const;    \
	void Set##name(BOOL bValue, BOOL bSave);
#define KVZ_SETTING(name, type) \
	type Get##name() const;     \
	void Set##name(type aValue, BOOL bSave);

// Keeps CParameterInfo's runtime class: it adds no state of its own.
class CKvzNetSettings : public CParameterInfo
{
public:
	CKvzNetSettings();

	KVZ_SETTING_BOOL(ImpSaldiSelClienti)
	KVZ_SETTING(ImpSaldiFileClienti, DataStr)
	KVZ_SETTING_BOOL(ImpSaldiSelForn)
	KVZ_SETTING(ImpSaldiFileForn, DataStr)
	KVZ_SETTING(DatiPrecEsercizio, DataInt)
	KVZ_SETTING(DatiPrecTipoConto, DataEnum)
	KVZ_SETTING(DatiPrecNaturaDelConto, DataEnum)
	KVZ_SETTING_BOOL(PropSimboloPBaseEconomici)
	KVZ_SETTING_BOOL(PropSimboloPBasePatrimoniali)
	KVZ_SETTING_BOOL(PropSimboloPBaseTuttiConti)
	KVZ_SETTING_BOOL(PropSimboloPBaseSelMastri)
	KVZ_SETTING_BOOL(PropSimboloPBaseSelSeg1)
	KVZ_SETTING_BOOL(PropSimboloPBaseSelSeg2)
	KVZ_SETTING_BOOL(PropSimboloPBaseSelSeg3)
	KVZ_SETTING_BOOL(PropSimboloPBaseSelSeg4)
	KVZ_SETTING_BOOL(PropSimboloPBaseSelSeg5)
	KVZ_SETTING_BOOL(PropSimboloPBaseSelSeg6)
	KVZ_SETTING_BOOL(PropSimboloPBaseSelSeg7)
	KVZ_SETTING(PropSimboloPBaseContoDa, DataStr)
	KVZ_SETTING(PropSimboloPBaseContoA, DataStr)
	KVZ_SETTING(PropSimboloPBaseCdcCommDa, DataStr)
	KVZ_SETTING(PropSimboloPBaseCdcCommA, DataStr)
	KVZ_SETTING(PropSimboloPBaseFiltroCdcComm, DataStr)
	KVZ_SETTING(ImpCodExtracontDocFileCodici, DataStr)

	// Saves the whole settings file.
	BOOL SaveDblQuadroSettings();
};

#undef KVZ_SETTING_BOOL
#undef KVZ_SETTING
