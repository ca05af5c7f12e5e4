#pragma once
// The module's report definitions and what they share.
#include <map>
#include <memory>
#include <utility>

#include "platform/plvoledb/SqlTable.h"
#include "platform/plvrendoviewer/ReportDefinition.h"

namespace kvzreports {

std::unique_ptr<CReportDefinition> MakeStampaRiclassificatoPerCodice();
std::unique_ptr<CReportDefinition> MakeStampaRiclassificatoPerCodiceEstesa();
std::unique_ptr<CReportDefinition> MakeStampaReportRiclassific();
std::unique_ptr<CReportDefinition> MakeContiDelRiclassificato();
std::unique_ptr<CReportDefinition> MakePreviewPdCRaggr();
std::unique_ptr<CReportDefinition> MakeContiNonUsati();
std::unique_ptr<CReportDefinition> MakeConfrontoRiclassif();
std::unique_ptr<CReportDefinition> MakeEsplosFormula_Excel();
std::unique_ptr<CReportDefinition> MakeEsplosioneSimboliConti();
std::unique_ptr<CReportDefinition> MakeSkcontab();

// The default report of the reclassified-report print document.
inline constexpr const char* kStampaReportRiclassificDoc = "KvzNet.KvzMod.KvzDocuments.BDStampaReportRiclassific";
inline constexpr const char* kStampaReportRiclassific = "KvzNet.KvzMod.StampaReportRiclassific";

// "Gennaio" ... "Dicembre"; the number as text outside 1 to 12.
CString MonthName(int month);
CString YesNo(bool b);
// The data kind of a print as a reader takes it ("Scelta del simbolo": as each symbol chose).
CString DataKindText(const CString& kind);

// Keeps the table's rows whose column equals the value.
void FilterEqual(SqlTable& table, const char* param, DataObj& column, const DataObj& value);

// A value column as a reader takes it: "0" the main one ("principale"), "1".."10" the further
// formulas (with the title the model gives them), "A".."C" the budgets.
CString ColumnText(const CString& column, int year, const CString& model);

// A model as its prints show it: its description, the codes whose row totals rows above it
// (a row of kind "Totale", or one whose formula for the value column printed reads the results
// of earlier rows), which stand out, and the codes whose figures are quotients (a progressive
// that divides), printed with four decimals. Empty when the model cannot be read. A grouping
// code has no model: its results say which codes divide.
struct ModelShape
{
	CString description;
	std::map<CString, bool> totals;
	std::map<CString, bool> ratios;
	std::map<CString, bool> subtracted;  // a row's formula takes the code's result with a minus
	bool IsTotal(const CString& code) const;
	bool IsSubtracted(const CString& code) const;
	// The value column read has no formula in the code's row: the run leaves it at zero.
	std::map<CString, bool> unformulated;
	bool IsUnformulated(const CString& code) const;
	bool IsRatio(const CString& code) const;
	// An amount of the code as it prints: four decimals for a quotient, else to the cent.
	ReportCell Amount(const CString& code, double value) const;
};
// column: "0", "1".."10", "A".."C".
ModelShape ReadModel(int year, const CString& model, const CString& column);

// A definition with its namespace, its exported functions and its layout.
class CKvzReport : public CReportDefinition
{
public:
	CKvzReport(const char* ns, std::vector<CString> exports) : m_Ns(ns), m_Exports(std::move(exports)) {}
	CString GetNamespace() const override { return m_Ns; }
	std::vector<CString> GetExportsUsed() const override { return m_Exports; }

private:
	CString m_Ns;
	std::vector<CString> m_Exports;
};

// Calls a member export whose last N arguments are double outputs, into out[0 .. N-1].
template <size_t N, class... Lead>
bool CallWithAmounts(const CReportContext& ctx, const char* name, double* out, Lead... lead)
{
	return [&]<size_t... I>(std::index_sequence<I...>) {
		return ctx.Member<bool>(name, lead..., (out + I)...);
	}(std::make_index_sequence<N>{});
}

// The print of reclassified statements by code: the short descriptions of the first nine
// selected codes and, per selected model, the cells of its line for the first nCodes codes.
struct PrintedModel
{
	CString model;
	CString description;
	std::vector<double> cells;
};
struct PrintByCode
{
	std::vector<CString> descriptions;  // nine
	std::vector<CString> codes;         // the chosen codes in print order, as the document tells
	std::vector<PrintedModel> models;
	std::vector<ModelShape> shapes;     // by model
	// The chosen codes: each has its column, zero or not. Without the document's list, up to
	// the last described one or the last with a value.
	size_t UsedCodes() const;
	CString Code(size_t i) const;     // the code, else "Codice n"
	CString Heading(size_t i) const;  // the short description, else the code; "- " when subtracted
	// The code's figures are quotients (four decimals, never added up).
	bool IsRatio(size_t i) const;
	ReportCell Cell(size_t model, size_t i) const;
	// "CE, CEC" or "CDC01 ... CDC10 (10 modelli)".
	CString ModelsText() const;
};
// Reads the lines, then hands the printed codes back to the document (they leave its list).
PrintByCode ReadPrintByCode(const CReportContext& ctx, size_t nCodes);
// The year, months and column of the print, as the document gives them.
std::vector<std::pair<CString, CString>> PrintByCodeInputs(const CReportContext& ctx);
extern const char* const kPrintByCodeExports[7];

}  // namespace kvzreports
