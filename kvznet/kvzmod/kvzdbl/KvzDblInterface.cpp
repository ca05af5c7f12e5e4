// Entry of the tables library: registration of the module's tables in the catalog,
// declaration of its hotlinks and the release of its schema.
#include "kvznet/kvzmod/kvzdbl/KvzDblTables.h"
#include "platform/plvgenlib/AddOnInterfaceObj.h"
#include "platform/plvgenlib/LibraryEntry.h"

namespace {
AFX_EXTENSION_MODULE g_KvzDblModule;

struct TableEntry
{
	CRuntimeClass* (*pfnClass)();
	LPCTSTR (*pfnStaticName)();
	int kind;  // 1 table, 2 view
};

#define KVZ_TABLE(rec) {&rec::GetThisClass, &rec::GetStaticName, 1}
#define KVZ_VIEW(rec) {&rec::GetThisClass, &rec::GetStaticName, 2}

// In the order of registration.
const TableEntry kTables[] = {
	KVZ_TABLE(Kvz_TAnagContiKvz),
	KVZ_TABLE(Kvz_TAnagMacro),
	KVZ_TABLE(Kvz_TAnagSimboli),
	KVZ_TABLE(Kvz_TAziende),
	KVZ_TABLE(Kvz_TBudgetFinanzRighe),
	KVZ_TABLE(Kvz_TBudgetFinanzTesta),
	KVZ_TABLE(Kvz_TBudgetRighe),
	KVZ_TABLE(Kvz_TBudgetTesta),
	KVZ_TABLE(Kvz_TCentriCommesseContiKvz),
	KVZ_TABLE(Kvz_TCodExtracontabiliTesta),
	KVZ_TABLE(Kvz_TCodExtracontabili),
	KVZ_TABLE(Kvz_TCodiciBudget),
	KVZ_TABLE(Kvz_TCodiciRiclassificato),
	KVZ_TABLE(Kvz_TCodRaggrupp),
	KVZ_TABLE(Kvz_TContatoriCodici),
	KVZ_TABLE(Kvz_TContatoriDettaglio),
	KVZ_TABLE(Kvz_TDescrFormula),
	KVZ_TABLE(Kvz_TElencoContiSimboloPBase),
	KVZ_TABLE(Kvz_TIDDocumenti),
	KVZ_TABLE(Kvz_TModelliRiclassificazione),
	KVZ_TABLE(Kvz_TNumDocumenti),
	KVZ_TABLE(Kvz_TParametri),
	KVZ_TABLE(Kvz_TPianoBaseRighe),
	KVZ_TABLE(Kvz_TPianoBaseRigaDett),
	KVZ_TABLE(Kvz_TPianoBaseTesta),
	KVZ_TABLE(Kvz_TRaggruppPdC),
	KVZ_TABLE(Kvz_TRiclassificato),
	KVZ_TABLE(Kvz_TRiclassificatoTesta),
	KVZ_TABLE(Kvz_TRiclassificazioneRaggrupp),
	KVZ_TABLE(Kvz_TRiclassificazioneRighe),
	KVZ_TABLE(Kvz_TRiclassificazioneTesta),
	KVZ_TABLE(Kvz_TSimboliCodiciExtracont),
	KVZ_TABLE(Kvz_TSimboliCodiciRiclass),
	KVZ_TABLE(Kvz_TSimboliOutputRiclass),
	KVZ_TABLE(Kvz_TSimboliPianoBase),
	KVZ_TABLE(Kvz_TOperatoriStampe),
	KVZ_VIEW(Kvz_ViewCdcCommesse),
	KVZ_TABLE(Kvz_TTmpRiclassificazioneTesta),
	KVZ_TABLE(Kvz_TRipartizioniAssestamento),
	KVZ_TABLE(Kvz_TmpEsplosioneCodici),
};

struct HotLinkEntry
{
	LPCTSTR name;
	CRuntimeClass* (*pfnClass)();
};

#define KVZ_HOTLINK(name, cls) {_T(name), &cls::GetThisClass}

// In the order of declaration.
const HotLinkEntry kHotLinks[] = {
	KVZ_HOTLINK("HKLAziende", Kvz_HKLAziende),
	KVZ_HOTLINK("HKLCentriComm", Kvz_HKLCentriComm),
	KVZ_HOTLINK("HKLAnagContiKvz", KVZ_HKLAnagContiKvz),
	KVZ_HOTLINK("HKLCentriCommContiKvz", Kvz_HKLCentriCommContiKvz),
	KVZ_HOTLINK("HKLCodiciExtracont", KVZ_HKLCodiciExtracont),
	KVZ_HOTLINK("HKLCodiciBudget", Kvz_HKLCodiciBudget),
	KVZ_HOTLINK("HKLCodiciRiclassificato", KVZ_HKLCodiciRiclassificato),
	KVZ_HOTLINK("HKLRiclassificazioneTesta", KVZ_HKLRiclassificazioneTesta),
	KVZ_HOTLINK("HKLCodRaggrupp", Kvz_HKLCodRaggrupp),
	KVZ_HOTLINK("HKLDescrFormula", Kvz_HKLDescrFormula),
	KVZ_HOTLINK("HKLTmpRiclassificazioneTesta", KVZ_HKLTmpRiclassificazioneTesta),
	// The results header's lookup under a name of its own; "HKLRiclassificazioneTesta" is declared once.
	KVZ_HOTLINK("HKLRiclassificatoTesta", KVZ_HKLRiclassificatoTesta),
};
}  // namespace

class AddOnInterface : public AddOnInterfaceObj
{
public:
	void AOI_RegisterTemplates(UINT, const CPLVNamespace*) override {}
	void AOI_RegisterFunctions(const CPLVNamespace*) override {}
	BOOL AOI_RegisterTables(SqlConnection* pConnection, const CString& frameworkText, const CPLVNamespace* pNs) override;
	void AOI_RegisterHotLinks(const CPLVNamespace& ns) override;
	int AOI_DatabaseRelease() override { return 10; }
};

BOOL AddOnInterface::AOI_RegisterTables(SqlConnection* pConnection, const CString& frameworkText,
										const CPLVNamespace* pNs)
{
	CPLVNamespace ns = pNs ? *pNs : CPLVNamespace();
	if (!pConnection || !pConnection->IsValid())
		return FALSE;
	BOOL bAll = TRUE;
	for (const TableEntry& t : kTables)
	{
		ns.SetObjectName(CPLVNamespace::TABLE, t.pfnStaticName(), TRUE, FALSE);
		// Every entry is attempted, whatever the earlier ones returned.
		if (!pConnection->RegisterCatalogEntry(frameworkText, ns, t.pfnClass(), t.kind))
			bAll = FALSE;
	}
	return bAll;
}

void AddOnInterface::AOI_RegisterHotLinks(const CPLVNamespace& ns)
{
	for (const HotLinkEntry& h : kHotLinks)
	{
		CPLVNamespace hklNs;
		AutoCompleteNamespace(CPLVNamespace::HOTLINK, h.name, ns, hklNs);
		DeclareFunction(new FunctionDataInterface(hklNs, h.pfnClass(), nullptr));
	}
}

PLV_EXPORT BOOL PlvLibraryMain(HMODULE hInstance, DWORD dwReason)
{
	if (dwReason == DLL_PROCESS_ATTACH)
	{
		if (!AfxInitExtensionModule(g_KvzDblModule, hInstance))
			return FALSE;
		new CDynLinkLibrary(g_KvzDblModule);
		if (CPlvCommandInterface* pCmd = AfxGetPlvCmdManager())
			pCmd->RegisterLibraryNamespace(CPLVNamespace("KvzNet.KvzMod.KvzDbl"), hInstance);
	}
	else if (dwReason == DLL_PROCESS_DETACH)
		AfxTermExtensionModule(g_KvzDblModule);
	return TRUE;
}

PLV_EXPORT AddOnInterfaceObj* _VandrelAddOn_()
{
	return new (std::nothrow) AddOnInterface;
}
