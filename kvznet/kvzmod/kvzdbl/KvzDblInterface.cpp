// Entry of the tables library: registration of the module's tables in the catalog,
// declaration of its hotlinks and the release of its schema.
#include <iterator>

#include "kvznet/kvzmod/kvzdbl/KvzDblInterface.h"
#include "kvznet/kvzmod/kvzdbl/KvzDblTables.h"
#include "platform/plvgenlib/AddOnInterfaceObj.h"
#include "platform/plvgenlib/LibraryEntry.h"

namespace {
AFX_EXTENSION_MODULE g_KvzDblModule;

#define KVZ_TABLE(rec) {&rec::GetThisClass, &rec::GetStaticName, 1}
#define KVZ_VIEW(rec) {&rec::GetThisClass, &rec::GetStaticName, 2}

// In the order of registration.
const AddOnInterfaceObj::CatalogTable kTables[] = {
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

#define KVZ_HOTLINK(name, cls) {_T(name), &cls::GetThisClass}

// In the order of declaration.
const AddOnInterfaceObj::DeclaredHotLink kHotLinks[] = {
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

// Inside the library: every library names its interface class so.
class AddOnInterface : public AddOnInterfaceObj
{
public:
	void AOI_RegisterTemplates(UINT, const CPLVNamespace*) override {}
	void AOI_RegisterFunctions(const CPLVNamespace*) override {}
	BOOL AOI_RegisterTables(SqlConnection* pConnection, const CString& frameworkText, const CPLVNamespace* pNs) override
	{
		return RegisterCatalogTables(pConnection, frameworkText, pNs, kTables, std::size(kTables));
	}
	void AOI_RegisterHotLinks(const CPLVNamespace& ns) override { DeclareHotLinks(ns, kHotLinks, std::size(kHotLinks)); }
	int AOI_DatabaseRelease() override { return 10; }
};
}  // namespace

PLV_EXPORT BOOL PlvLibraryMain(HMODULE hInstance, DWORD dwReason)
{
	return AfxExtensionLibraryMain(g_KvzDblModule, hInstance, dwReason, _T("KvzNet.KvzMod.KvzDbl"));
}

AddOnInterfaceObj* KvzDblAddOnInterface()
{
	return new (std::nothrow) AddOnInterface;
}

PLV_EXPORT AddOnInterfaceObj* _VandrelAddOn_()
{
	return KvzDblAddOnInterface();
}
