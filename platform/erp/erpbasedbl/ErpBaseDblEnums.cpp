#include "platform/erp/erpbasedbl/ErpBaseDblEnums.h"

#include "platform/plvgeneric/EnumTexts.h"

namespace erp {

void RegisterBaseEnumTexts()
{
	const auto ledgerTypes = {"Attività", "Passività", "Conti d'ordine", "Costi", "Ricavi", "Conti di riepilogo"};
	AfxRegisterEnumTexts(E_LEDGERTYPE, ledgerTypes);
	AfxRegisterEnumTexts(E_LEDGERNATURE, ledgerTypes);
	AfxRegisterEnumTexts(E_DEBITCREDIT, {"Dare", "Avere"});
	AfxRegisterEnumTexts(E_INSTALMENTSPLIT, {"Rate uguali, resto sull'ultima", "Rate uguali, resto sulla prima"});
	AfxRegisterEnumTexts(E_COSTACCENTRYTYPE, {"Provvisorio", "Effettivo", "Previsionale", "Rettifica"});
	AfxRegisterEnumTexts(E_BALANCETYPE, {"Contabile", "Previsionale"});
	AfxRegisterEnumTexts(E_READINGBASIS, {"Piano dei conti", "Anagrafica conti raggruppati"});
	AfxRegisterEnumTexts(E_VATPAYMENT, {"Mensile", "Trimestrale"});
	AfxRegisterEnumTexts(E_ACCOUNTTYPE, {"Economico", "Patrimoniale"});
}

namespace {
// The texts are there as soon as the library is.
[[maybe_unused]] const bool g_bTextsRegistered = (RegisterBaseEnumTexts(), true);
}  // namespace

}  // namespace erp
