#include "kvznet/kvzmod/kvzdbl/KvzNetSettings.h"

namespace {
// The settings service gives back an object of the default's type; copied out by value.
template <class T>
T Value(const std::unique_ptr<DataObj>& p, T value)
{
	if (p)
		value.Assign(*p);
	return value;
}
}  // namespace

#define KVZ_SETTING_BOOL(name, key)                                    \
	BOOL CKvzNetSettings::Get##name() const                            \
	{                                                                  \
		return Value(GetValue(_T(key), DataBool(FALSE)), DataBool(FALSE)); \
	}                                                                  \
	void CKvzNetSettings::Set##name(BOOL bValue, BOOL bSave)           \
	{                                                                  \
		SetValue(_T(key), DataBool(bValue), bSave);                    \
	}
#define KVZ_SETTING(name, type, key, defaultValue)                     \
	type CKvzNetSettings::Get##name() const                            \
	{                                                                  \
		return Value(GetValue(_T(key), type(defaultValue)), type(defaultValue)); \
	}                                                                  \
	void CKvzNetSettings::Set##name(type aValue, BOOL bSave)           \
	{                                                                  \
		SetValue(_T(key), aValue, bSave);                              \
	}

CKvzNetSettings::CKvzNetSettings()
	: CParameterInfo(CPLVNamespace("Module.KvzNet.KvzMod"), _T("KvzMod.config"), _T("KvzNet"))
{
}

// The keys carry no group prefix: "Esercizio" and "TipoConto" stand as they are.
KVZ_SETTING_BOOL(ImpSaldiSelClienti, "SelClienti")
KVZ_SETTING(ImpSaldiFileClienti, DataStr, "FileClienti", "")
KVZ_SETTING_BOOL(ImpSaldiSelForn, "SelForn")
KVZ_SETTING(ImpSaldiFileForn, DataStr, "FileForn", "")
KVZ_SETTING(DatiPrecEsercizio, DataInt, "Esercizio", 0)
KVZ_SETTING(DatiPrecTipoConto, DataEnum, "TipoConto", DataEnum(E_TIPOCONTO, 0))
KVZ_SETTING(DatiPrecNaturaDelConto, DataEnum, "NaturaDelConto", DataEnum(E_TIPOMASTRO, 0))
KVZ_SETTING_BOOL(PropSimboloPBaseEconomici, "Economici")
KVZ_SETTING_BOOL(PropSimboloPBasePatrimoniali, "Patrimoniali")
KVZ_SETTING_BOOL(PropSimboloPBaseTuttiConti, "TuttiConti")
KVZ_SETTING_BOOL(PropSimboloPBaseSelMastri, "SelMastri")
KVZ_SETTING_BOOL(PropSimboloPBaseSelSeg1, "SelSeg1")
KVZ_SETTING_BOOL(PropSimboloPBaseSelSeg2, "SelSeg2")
KVZ_SETTING_BOOL(PropSimboloPBaseSelSeg3, "SelSeg3")
KVZ_SETTING_BOOL(PropSimboloPBaseSelSeg4, "SelSeg4")
KVZ_SETTING_BOOL(PropSimboloPBaseSelSeg5, "SelSeg5")
KVZ_SETTING_BOOL(PropSimboloPBaseSelSeg6, "SelSeg6")
KVZ_SETTING_BOOL(PropSimboloPBaseSelSeg7, "SelSeg7")
KVZ_SETTING(PropSimboloPBaseContoDa, DataStr, "ContoDa", "")
KVZ_SETTING(PropSimboloPBaseContoA, DataStr, "ContoA", "")
KVZ_SETTING(PropSimboloPBaseCdcCommDa, DataStr, "CdcCommDa", "")
KVZ_SETTING(PropSimboloPBaseCdcCommA, DataStr, "CdcCommA", "")
KVZ_SETTING(PropSimboloPBaseFiltroCdcComm, DataStr, "FiltroCdcComm", "")
KVZ_SETTING(ImpCodExtracontDocFileCodici, DataStr, "FileCodiciExtracont", "")

BOOL CKvzNetSettings::SaveDblQuadroSettings()
{
	return AfxSaveSettingsFile(GetNamespace(), GetFileName(), TRUE, nullptr);
}
