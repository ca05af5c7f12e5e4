#include "platform/erp/erpdemo/DemoCompany.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <stdexcept>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "platform/erp/erpbasedbl/ErpBaseDblTables.h"
#include "platform/erp/erpledgerdbl/ErpLedgerDblTables.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvoledb/driver/Driver.h"

namespace erp {

namespace {

// ---- making things up, the same way every time ---------------------------------------------------

class Rng
{
public:
	explicit Rng(std::uint64_t seed) : m_State(seed) {}
	std::uint64_t Next()
	{
		std::uint64_t z = (m_State += 0x9E3779B97F4A7C15ull);
		z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
		z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
		return z ^ (z >> 31);
	}
	double Unit() { return static_cast<double>(Next() >> 11) / 9007199254740992.0; }
	int Between(int lo, int hi) { return lo + static_cast<int>(Next() % static_cast<std::uint64_t>(hi - lo + 1)); }
	bool Chance(double p) { return Unit() < p; }
	template <class T>
	const T& Pick(const std::vector<T>& v)
	{
		return v[Next() % v.size()];
	}

private:
	std::uint64_t m_State;
};

long long Cents(double euros)
{
	return std::llround(euros * 100.0);
}

// A total in cents split by weights, to the cent.
std::vector<long long> SplitCents(long long total, const std::vector<double>& weights)
{
	double sum = 0;
	for (double w : weights)
		sum += w;
	std::vector<long long> parts;
	long long given = 0;
	for (size_t i = 0; i + 1 < weights.size(); ++i)
	{
		parts.push_back(std::llround(static_cast<double>(total) * weights[i] / sum));
		given += parts.back();
	}
	parts.push_back(total - given);
	return parts;
}

// ---- writing many rows ----------------------------------------------------------------------------

// An abort asked while the demo company was being made.
class DemoAborted : public std::runtime_error
{
public:
	DemoAborted() : std::runtime_error("interrupted: nothing was kept") {}
};

// The host tables the demo company fills, emptied first.
std::vector<const char*> DemoTables()
{
	return {TChartOfAccounts::GetStaticName(),		 TChartOfAccountParameters::GetStaticName(),
			TLedgers::GetStaticName(),				 TCompanyFiscalYears::GetStaticName(),
			TTAX::GetStaticName(),					 TPaymentTerms::GetStaticName(),
			TCostCenters::GetStaticName(),			 TJobs::GetStaticName(),
			TCostAccEntriesDetail::GetStaticName(), TChartOfAccountsBalances::GetStaticName(),
			TCostCentersBalances::GetStaticName(),	 TCompanyData::GetStaticName()};
}

// The rows of a record's table, each added with the record's values; a server takes many in one
// round trip.
class BulkInserter
{
public:
	BulkInserter(SqlConnection& connection, SqlRecord& record) : m_Connection(connection), m_Record(record)
	{
		std::vector<std::string> columns;
		for (int i = 0; i < record.GetSize(); ++i)
		{
			if (record.IsLocal(i))
				continue;
			m_Columns.push_back(i);
			columns.push_back(record.GetItem(i)->m_strColumnName.str());
		}
		m_pInsert = connection.Db().PrepareBulkInsert(record.GetTableName().str(), columns);
	}

	void Insert()
	{
		// An abort asked (Ctrl-C) stops the fill: its transaction is rolled back.
		if (m_nRows % 256 == 0 && AfxIsAbortRequested())
			throw DemoAborted();
		m_Row.clear();
		for (int i : m_Columns)
			m_Row.push_back(m_Connection.StoredValue(*m_Record.GetDataObjAt(i)));
		m_pInsert->Add(m_Row);
		++m_nRows;
	}
	long Rows() const { return m_nRows; }

private:
	SqlConnection& m_Connection;
	SqlRecord& m_Record;
	std::vector<int> m_Columns;
	std::vector<plv::db::Value> m_Row;
	std::unique_ptr<plv::db::BulkInsert> m_pInsert;
	long m_nRows = 0;
};

// ---- the chart of accounts ---------------------------------------------------------------------

// Which cost centres an account's cost-accounting entries go to.
enum Pool
{
	POOL_NONE,
	POOL_SALES,
	POOL_PRODUCTION,
	POOL_COMMERCIAL,
	POOL_GENERAL,
};

// Accounts made up in numbers that grow with the scale.
enum Generated
{
	GEN_NONE,
	GEN_CUSTOMERS_IT,
	GEN_CUSTOMERS_EU,
	GEN_CUSTOMERS_WORLD,
	GEN_SUPPLIERS_IT,
	GEN_SUPPLIERS_WORLD,
	GEN_MATERIALS,
	GEN_PRODUCTS,
};

struct ContoDef
{
	const char* code;
	const char* description;
	std::vector<const char*> accounts;
	Pool pool = POOL_NONE;
	Generated generated = GEN_NONE;
	bool costAccDetail = false;  // flag B on top of the ledger's flag A
};

struct LedgerDef
{
	const char* code;
	const char* description;
	WORD type;
	bool costAccounting;  // flag A of its accounts
	std::vector<ContoDef> conti;
};

const std::vector<LedgerDef>& Chart()
{
	static const std::vector<LedgerDef> chart = {
		{"01", "Immobilizzazioni immateriali", LEDGER_ASSETS, false,
		 {{"01", "Costi di impianto e di ampliamento", {"Spese di costituzione", "Spese per modifiche statutarie"}},
		  {"02", "Diritti di brevetto e opere dell'ingegno", {"Brevetti industriali", "Licenze software"}},
		  {"03", "Avviamento", {"Avviamento"}}}},
		{"02", "Immobilizzazioni materiali", LEDGER_ASSETS, false,
		 {{"01", "Terreni e fabbricati", {"Terreni", "Fabbricati industriali", "Fabbricati civili"}},
		  {"02", "Impianti e macchinari", {"Impianti generici", "Macchinari", "Impianti specifici"}},
		  {"03", "Attrezzature industriali e commerciali", {"Attrezzature varie", "Stampi"}},
		  {"04", "Altri beni", {"Mobili e arredi", "Macchine d'ufficio elettroniche", "Automezzi", "Autovetture"}},
		  {"05", "Fondi ammortamento",
		   {"Fondo ammortamento fabbricati", "Fondo ammortamento impianti e macchinari",
			"Fondo ammortamento attrezzature", "Fondo ammortamento altri beni"}}}},
		{"03", "Immobilizzazioni finanziarie", LEDGER_ASSETS, false,
		 {{"01", "Partecipazioni", {"Partecipazioni in imprese controllate", "Partecipazioni in altre imprese"}},
		  {"02", "Depositi cauzionali", {"Depositi cauzionali su utenze", "Depositi cauzionali su locazioni"}}}},
		{"04", "Rimanenze", LEDGER_ASSETS, false,
		 {{"01", "Materie prime, sussidiarie e di consumo", {"Materie prime", "Materiali di consumo"}},
		  {"02", "Prodotti in lavorazione e finiti", {"Prodotti finiti", "Semilavorati"}},
		  {"03", "Merci", {"Merci"}}}},
		{"05", "Crediti verso clienti", LEDGER_ASSETS, false,
		 {{"01", "Clienti Italia", {}, POOL_NONE, GEN_CUSTOMERS_IT},
		  {"02", "Clienti UE", {}, POOL_NONE, GEN_CUSTOMERS_EU},
		  {"03", "Clienti extra UE", {}, POOL_NONE, GEN_CUSTOMERS_WORLD},
		  {"04", "Effetti e rettifiche", {"Ri.Ba. all'incasso", "Fondo svalutazione crediti"}}}},
		{"06", "Crediti diversi", LEDGER_ASSETS, false,
		 {{"01", "Crediti tributari",
		   {"IVA su acquisti", "Erario c/acconti IRES", "Erario c/acconti IRAP", "Erario c/ritenute subite"}},
		  {"02", "Altri crediti", {"Crediti verso dipendenti", "Anticipi a fornitori", "Crediti diversi"}}}},
		{"07", "Disponibilità liquide", LEDGER_ASSETS, false,
		 {{"01", "Banche c/c attivi",
		   {"Banca Intesa c/c", "UniCredit c/c", "Banca Popolare c/c", "Credito Emiliano c/c"}},
		  {"02", "Cassa", {"Cassa contanti", "Cassa valori bollati"}}}},
		{"08", "Ratei e risconti attivi", LEDGER_ASSETS, false, {{"01", "Ratei e risconti attivi", {"Ratei attivi", "Risconti attivi"}}}},
		{"10", "Patrimonio netto", LEDGER_LIABILITIES, false,
		 {{"01", "Capitale", {"Capitale sociale"}},
		  {"02", "Riserve", {"Riserva legale", "Riserva straordinaria", "Utili portati a nuovo"}},
		  {"03", "Risultato d'esercizio", {"Utile (perdita) d'esercizio"}}}},
		{"11", "Fondi per rischi e oneri", LEDGER_LIABILITIES, false,
		 {{"01", "Fondi per rischi e oneri", {"Fondo imposte differite", "Fondo rischi contrattuali", "Fondo garanzia prodotti"}}}},
		{"12", "Trattamento di fine rapporto", LEDGER_LIABILITIES, false,
		 {{"01", "Fondo TFR", {"Fondo TFR", "TFR a previdenza complementare"}}}},
		{"13", "Debiti verso banche", LEDGER_LIABILITIES, false,
		 {{"01", "Banche c/c passivi", {"Banca Intesa c/anticipi", "UniCredit c/anticipi"}},
		  {"02", "Mutui e finanziamenti", {"Mutuo ipotecario", "Finanziamento chirografario"}}}},
		{"14", "Debiti verso fornitori", LEDGER_LIABILITIES, false,
		 {{"01", "Fornitori Italia", {}, POOL_NONE, GEN_SUPPLIERS_IT},
		  {"02", "Fornitori esteri", {}, POOL_NONE, GEN_SUPPLIERS_WORLD},
		  {"03", "Fatture da ricevere", {"Fatture da ricevere"}}}},
		{"15", "Debiti tributari", LEDGER_LIABILITIES, false,
		 {{"01", "Debiti tributari",
		   {"IVA su vendite", "Erario c/IVA", "Erario c/ritenute lavoro dipendente", "Erario c/ritenute lavoro autonomo",
			"Debiti per IRES", "Debiti per IRAP"}}}},
		{"16", "Debiti verso istituti previdenziali", LEDGER_LIABILITIES, false,
		 {{"01", "Debiti previdenziali", {"INPS c/contributi", "INAIL c/premi", "Fondi pensione complementare"}}}},
		{"17", "Altri debiti", LEDGER_LIABILITIES, false,
		 {{"01", "Altri debiti",
		   {"Dipendenti c/retribuzioni", "Dipendenti c/ferie maturate", "Debiti diversi", "Amministratori c/compensi"}}}},
		{"18", "Ratei e risconti passivi", LEDGER_LIABILITIES, false,
		 {{"01", "Ratei e risconti passivi", {"Ratei passivi", "Risconti passivi"}}}},
		{"19", "Conti d'ordine", LEDGER_MEMORANDUM, false,
		 {{"01", "Beni di terzi", {"Beni di terzi in deposito", "Depositanti beni c/terzi"}},
		  {"02", "Garanzie", {"Fideiussioni prestate", "Creditori per fideiussioni"}}}},
		{"20", "Acquisti", LEDGER_COSTS, true,
		 {{"01", "Materie prime", {}, POOL_PRODUCTION, GEN_MATERIALS, true},
		  {"02", "Materiali di consumo", {"Materiali di consumo", "Imballaggi", "Carburanti e lubrificanti"}, POOL_PRODUCTION,
		   GEN_NONE, true},
		  {"03", "Merci", {"Acquisti merci"}, POOL_PRODUCTION, GEN_NONE, true},
		  {"04", "Variazione delle rimanenze",
		   {"Variazione rimanenze materie prime", "Variazione rimanenze prodotti finiti"}, POOL_PRODUCTION}}},
		{"21", "Costi per servizi", LEDGER_COSTS, true,
		 {{"01", "Servizi industriali",
		   {"Lavorazioni di terzi", "Manutenzioni e riparazioni", "Trasporti su acquisti", "Trasporti su vendite",
			"Energia elettrica", "Gas e acqua"},
		   POOL_PRODUCTION, GEN_NONE, true},
		  {"02", "Servizi commerciali",
		   {"Provvigioni agenti", "Pubblicità e promozione", "Fiere e mostre", "Spese di rappresentanza"},
		   POOL_COMMERCIAL, GEN_NONE, true},
		  {"03", "Servizi amministrativi e generali",
		   {"Consulenze amministrative e fiscali", "Consulenze legali", "Compensi amministratori",
			"Compenso collegio sindacale", "Assicurazioni", "Spese telefoniche", "Servizi informatici",
			"Pulizia locali", "Vigilanza"},
		   POOL_GENERAL, GEN_NONE, true}}},
		{"22", "Godimento beni di terzi", LEDGER_COSTS, true,
		 {{"01", "Godimento beni di terzi", {"Fitti passivi", "Canoni di leasing", "Noleggio automezzi", "Canoni software"},
		   POOL_GENERAL, GEN_NONE, true}}},
		{"23", "Costi del personale", LEDGER_COSTS, true,
		 {{"01", "Salari e stipendi", {"Salari operai", "Stipendi impiegati", "Stipendi dirigenti"}, POOL_GENERAL},
		  {"02", "Oneri sociali", {"Contributi INPS", "Premi INAIL"}, POOL_GENERAL},
		  {"03", "Trattamento di fine rapporto", {"Accantonamento TFR"}, POOL_GENERAL},
		  {"04", "Altri costi del personale", {"Formazione del personale", "Buoni pasto", "Rimborsi spese trasferte"},
		   POOL_GENERAL}}},
		{"24", "Ammortamenti e svalutazioni", LEDGER_COSTS, true,
		 {{"01", "Ammortamenti immobilizzazioni immateriali",
		   {"Ammortamento costi di impianto", "Ammortamento licenze software", "Ammortamento avviamento"}, POOL_GENERAL},
		  {"02", "Ammortamenti immobilizzazioni materiali",
		   {"Ammortamento fabbricati", "Ammortamento impianti e macchinari", "Ammortamento attrezzature",
			"Ammortamento altri beni"},
		   POOL_PRODUCTION},
		  {"03", "Svalutazioni", {"Svalutazione crediti"}, POOL_GENERAL}}},
		{"25", "Oneri diversi di gestione", LEDGER_COSTS, true,
		 {{"01", "Oneri diversi di gestione",
		   {"Imposte e tasse deducibili", "Valori bollati", "Cancelleria e stampati", "Abbonamenti e riviste",
			"Quote associative", "Perdite su crediti", "Sopravvenienze passive", "Multe e sanzioni"},
		   POOL_GENERAL}}},
		{"26", "Oneri finanziari", LEDGER_COSTS, false,
		 {{"01", "Oneri finanziari",
		   {"Interessi passivi bancari", "Interessi passivi su mutui", "Commissioni e spese bancarie", "Perdite su cambi"}}}},
		{"27", "Imposte sul reddito", LEDGER_COSTS, false,
		 {{"01", "Imposte sul reddito", {"IRES", "IRAP", "Imposte differite"}}}},
		{"30", "Ricavi delle vendite", LEDGER_REVENUES, true,
		 {{"01", "Vendite prodotti", {}, POOL_SALES, GEN_PRODUCTS, true},
		  {"02", "Vendite merci", {"Vendite merci Italia", "Vendite merci UE", "Vendite merci extra UE"}, POOL_SALES,
		   GEN_NONE, true},
		  {"03", "Resi e sconti", {"Resi su vendite", "Sconti e abbuoni passivi"}, POOL_SALES}}},
		{"31", "Ricavi delle prestazioni", LEDGER_REVENUES, true,
		 {{"01", "Prestazioni di servizi",
		   {"Installazioni", "Assistenza tecnica", "Contratti di manutenzione", "Formazione clienti", "Progettazione"},
		   POOL_SALES, GEN_NONE, true}}},
		{"32", "Altri ricavi e proventi", LEDGER_REVENUES, true,
		 {{"01", "Altri ricavi e proventi",
		   {"Rimborsi spese", "Affitti attivi", "Plusvalenze", "Sopravvenienze attive", "Contributi in conto esercizio"},
		   POOL_GENERAL}}},
		{"33", "Proventi finanziari", LEDGER_REVENUES, false,
		 {{"01", "Proventi finanziari",
		   {"Interessi attivi bancari", "Interessi attivi su crediti", "Utili su cambi", "Dividendi"}}}},
		{"40", "Conti di riepilogo", LEDGER_SUMMARY, false,
		 {{"01", "Conti di riepilogo", {"Stato patrimoniale di apertura", "Stato patrimoniale di chiusura", "Conto economico"}}}},
	};
	return chart;
}

const std::vector<const char*> kSurnames = {
	"Rossi",   "Russo",   "Ferrari",  "Esposito", "Bianchi", "Romano",  "Colombo", "Ricci",    "Marino",  "Greco",
	"Bruno",   "Gallo",   "Conti",    "De Luca",  "Mancini", "Costa",   "Giordano", "Rizzo",   "Lombardi", "Moretti",
	"Barbieri", "Fontana", "Santoro", "Mariani",  "Rinaldi", "Caruso",  "Ferrara", "Galli",    "Martini", "Leone"};
const std::vector<const char*> kCustomerTrades = {"Meccanica", "Alimentari", "Imballaggi", "Plastica", "Farmaceutica",
												  "Logistica", "Arredamenti", "Tessile",    "Chimica",  "Bevande"};
const std::vector<const char*> kSupplierTrades = {"Acciai",      "Componenti Elettrici", "Trasporti", "Forniture Industriali",
												  "Minuterie",   "Pneumatica",           "Elettronica", "Servizi",
												  "Consulenze", "Vernici"};
const std::vector<const char*> kForms = {"S.p.A.", "S.r.l.", "S.n.c.", "S.a.s."};
const std::vector<const char*> kEuNames = {"Müller", "Schmidt", "Dubois", "Martin", "García",
										   "Fernández", "Janssen", "Novak", "Kowalski", "Nielsen"};
const std::vector<const char*> kEuForms = {"GmbH", "SARL", "S.L.", "B.V.", "AG"};
const std::vector<const char*> kWorldNames = {"Smith", "Johnson", "Brown", "Taylor", "Wilson",
											  "Tanaka", "Chen", "Silva", "Yilmaz", "Ivanov"};
const std::vector<const char*> kWorldForms = {"Ltd", "Inc.", "LLC", "Co. Ltd", "Pty Ltd"};
const std::vector<const char*> kMaterials = {"acciaio inox",         "alluminio",       "componenti elettrici", "motori elettrici",
											 "viteria e bulloneria", "materie plastiche", "cavi e cablaggi",    "componenti pneumatici",
											 "sensori e strumentazione", "lamiere"};
const std::vector<const char*> kProducts = {"macchine confezionatrici", "linee di imbottigliamento", "nastri trasportatori",
											"quadri elettrici",         "ricambi",                   "impianti di dosaggio",
											"etichettatrici",           "pallettizzatori"};
const std::vector<const char*> kWorks = {"Impianto di confezionamento", "Linea di imbottigliamento", "Revamping impianto",
										 "Automazione magazzino",      "Manutenzione straordinaria", "Fornitura quadri elettrici",
										 "Collaudo linea",             "Progettazione impianto",     "Retrofit macchina",
										 "Assistenza all'avviamento"};

CString GeneratedName(Generated kind, int i)
{
	const size_t n = static_cast<size_t>(i);
	switch (kind)
	{
	case GEN_CUSTOMERS_IT:
		return CString::Formatted("%s %s %s", kSurnames[n % 30], kCustomerTrades[n / 30 % 10], kForms[n / 300 % 4]);
	case GEN_SUPPLIERS_IT:
		return CString::Formatted("%s %s %s", kSurnames[(n + 7) % 30], kSupplierTrades[n / 30 % 10],
								  kForms[(n / 300 + 1) % 4]);
	case GEN_CUSTOMERS_EU:
		return CString::Formatted("%s %s %s", kEuNames[n % 10], kCustomerTrades[n / 10 % 10], kEuForms[n / 100 % 5]);
	case GEN_CUSTOMERS_WORLD:
		return CString::Formatted("%s %s %s", kWorldNames[n % 10], kCustomerTrades[n / 10 % 10], kWorldForms[n / 100 % 5]);
	case GEN_SUPPLIERS_WORLD:
		return CString::Formatted("%s %s %s", kEuNames[(n + 3) % 10], kSupplierTrades[n / 10 % 10], kEuForms[n / 100 % 5]);
	case GEN_MATERIALS:
		return n < 10 ? CString::Formatted("Acquisti %s", kMaterials[n])
					  : CString::Formatted("Acquisti %s - linea %zu", kMaterials[n % 10], n / 10 + 1);
	case GEN_PRODUCTS:
		return n < 8 ? CString::Formatted("Ricavi vendita %s", kProducts[n])
					 : CString::Formatted("Ricavi vendita %s - serie %zu", kProducts[n % 8], n / 8 + 1);
	default: return CString();
	}
}

int GeneratedCount(Generated kind, int scale)
{
	switch (kind)
	{
	case GEN_CUSTOMERS_IT: return 70 * scale;
	case GEN_CUSTOMERS_EU: return 20 * scale;
	case GEN_CUSTOMERS_WORLD: return 10 * scale;
	case GEN_SUPPLIERS_IT: return 48 * scale;
	case GEN_SUPPLIERS_WORLD: return 12 * scale;
	case GEN_MATERIALS: return 10 * scale;
	case GEN_PRODUCTS: return 8 * scale;
	default: return 0;
	}
}

struct Account
{
	CString code;
	CString description;
	CString ledger;
	WORD ledgerType = 0;
	bool balances = false;
	bool costAccounting = false;
	bool costAccDetail = false;
	Pool pool = POOL_NONE;
};

struct CostCentre
{
	CString code;
	CString description;
	bool production;
	double monthlyWages;  // gross, in euros
};

struct Job
{
	CString code;
	CString description;
	DataDate start;
	DataDate end;
};

// ---- the company --------------------------------------------------------------------------------

class DemoCompany
{
public:
	DemoCompany(SqlConnection& connection, int scale, int lastYear)
		: m_Connection(connection), m_nScale(scale), m_nFirstYear(lastYear - 1)
	{
	}

	DemoCompanySummary Create();

private:
	// A posting line: debit positive, credit negative; the cost centre when the line has one.
	struct Line
	{
		int account;
		long long cents;
		int costCentre = -1;
	};
	using Lines = std::vector<Line>;

	void MakeChart();
	void MakeCostCentresAndJobs();
	void WriteRegisters();
	void SimulateYear(int year, int type, std::map<int, long long>& balances);
	void Post(int year, int type, int month, int day, const Lines& lines);
	void CostAccountingEntries(int year, int type, int month, int day, const Line& line);
	void YearTaxes(int year, int type);
	void WriteBalances();

	int Acc(const char* code) const;
	double Noise() { return 1.0 + m_dNoise * (2.0 * m_pRng->Unit() - 1.0); }
	long long Amount(double euros) { return Cents(euros * m_nScale * m_dFactor * Noise()); }
	int Bank() { return m_pRng->Pick(m_Banks); }

	SqlConnection& m_Connection;
	int m_nScale;
	int m_nFirstYear;

	std::vector<Account> m_Accounts;
	std::map<CString, int> m_ByCode;
	std::map<Generated, std::vector<int>> m_Generated;
	std::vector<CostCentre> m_CostCentres;
	std::vector<Job> m_Jobs;

	// Debit and credit cents by fiscal year, balance type, account and month; by cost centre too.
	std::pair<long long, long long>& Balance(int year, int type, int account, int month)
	{
		const size_t series = static_cast<size_t>(year - m_nFirstYear) * 2 + static_cast<size_t>(type);
		const size_t cell = (series * m_Accounts.size() + static_cast<size_t>(account)) * 12 + static_cast<size_t>(month - 1);
		return m_Balances[cell];
	}
	static std::uint64_t CentreKey(int year, int type, int centre, int account, int month)
	{
		return ((((static_cast<std::uint64_t>(year) * 2 + static_cast<std::uint64_t>(type)) * 4096 +
				  static_cast<std::uint64_t>(centre)) * 65536 + static_cast<std::uint64_t>(account)) * 16) +
			   static_cast<std::uint64_t>(month);
	}
	std::vector<std::pair<long long, long long>> m_Balances;
	std::unordered_map<std::uint64_t, std::pair<long long, long long>> m_CentreBalances;
	std::vector<int> m_Pools[POOL_GENERAL + 1];  // cost centres by pool
	std::vector<int> m_Banks;
	std::vector<char> m_Italian;  // by account: an Italian customer

	std::unique_ptr<Rng> m_pRng;
	double m_dFactor = 1.0;
	double m_dNoise = 0.25;
	std::unique_ptr<TCostAccEntriesDetail> m_pEntry;
	std::unique_ptr<BulkInserter> m_pEntries;
	long m_nEntryId = 0;
	long m_nBalanceRows = 0;
	// The progress: the registers, each month of the four series, the balances.
	static constexpr int kSteps = 1 + 4 * 12 + 1;
	int m_nStep = 0;
	void Step(const CString& what)
	{
		AfxSetProgressText(CString::Formatted("Società dimostrativa: %s (%d di %d)...", what.GetString(),
											  std::min(++m_nStep, kSteps), kSteps));
	}
};

int DemoCompany::Acc(const char* code) const
{
	auto it = m_ByCode.find(code);
	if (it == m_ByCode.end())
		throw std::logic_error(std::string("demo company: no account ") + code);
	return it->second;
}

void DemoCompany::MakeChart()
{
	auto add = [this](const Account& a) {
		m_ByCode[a.code] = static_cast<int>(m_Accounts.size());
		m_Accounts.push_back(a);
	};
	for (const LedgerDef& l : Chart())
	{
		add({l.code, l.description, l.code, l.type});
		for (const ContoDef& c : l.conti)
		{
			const CString conto = CString(l.code) + c.code;
			add({conto, c.description, l.code, l.type});
			std::vector<CString> names(c.accounts.begin(), c.accounts.end());
			for (int i = 0; i < GeneratedCount(c.generated, m_nScale); ++i)
				names.push_back(GeneratedName(c.generated, i));
			for (size_t i = 0; i < names.size(); ++i)
			{
				Account a{conto + CString::Formatted("%03zu", i + 1), names[i], l.code, l.type, true};
				a.costAccounting = l.costAccounting;
				a.costAccDetail = l.costAccounting && c.costAccDetail;
				a.pool = l.costAccounting ? c.pool : POOL_NONE;
				if (c.generated != GEN_NONE)
					m_Generated[c.generated].push_back(static_cast<int>(m_Accounts.size()));
				add(a);
			}
		}
	}
}

void DemoCompany::MakeCostCentresAndJobs()
{
	m_CostCentres = {
		{"DIR", "Direzione generale", false, 9000},   {"AMM", "Amministrazione e finanza", false, 7000},
		{"COM", "Commerciale", false, 9000},          {"MKT", "Marketing", false, 3500},
		{"ACQ", "Acquisti", false, 3500},             {"PRD", "Produzione", true, 28000},
		{"MAN", "Manutenzione", true, 6500},          {"MAG", "Magazzino e logistica", true, 7000},
		{"QUA", "Qualità", true, 4000},               {"RSV", "Ricerca e sviluppo", false, 6000},
	};
	// Each further scale adds as many people as the base company has, over ten departments.
	for (int i = 1; i <= 10 * (m_nScale - 1); ++i)
		m_CostCentres.push_back({CString::Formatted("PR%03d", i), CString::Formatted("Reparto produzione %d", i), true,
								 8350});

	Rng rng(0x10B5 + static_cast<std::uint64_t>(m_nScale));
	const auto& customers = m_Generated[GEN_CUSTOMERS_IT];
	for (int i = 0; i < 12 * m_nScale; ++i)
	{
		// Jobs start over the two years and run from three months to more than a year.
		const int startMonth = rng.Between(0, 21);
		const int year = m_nFirstYear + startMonth / 12;
		DataDate start(rng.Between(1, 28), startMonth % 12 + 1, year);
		DataDate end = start;
		end += rng.Between(90, 420);
		const CString client = m_Accounts[static_cast<size_t>(customers[rng.Next() % customers.size()])].description;
		m_Jobs.push_back({CString::Formatted("C%02d%03d", year % 100, i + 1),
						  CString::Formatted("%s - %s", kWorks[static_cast<size_t>(i) % kWorks.size()], client.GetString()),
						  start, end});
	}
}

void DemoCompany::WriteRegisters()
{
	Step("piano dei conti, centri di costo e commesse");
	TChartOfAccountParameters params;
	params.f_LedgerLength = 2;
	params.f_NrOfSegments = 2;
	params.f_SegmentName[0] = "Conto";
	params.f_SegmentLength[0] = 2;
	params.f_SegmentName[1] = "Sottoconto";
	params.f_SegmentLength[1] = 3;
	BulkInserter(m_Connection, params).Insert();

	TCompanyData company;
	company.f_CompanyName = "Officine Meccaniche Brenta S.r.l.";
	company.f_TaxIdNumber = "IT04172650238";
	company.f_Address = "Via dell'Industria 14";
	company.f_City = "35010 Vigonza (PD)";
	BulkInserter(m_Connection, company).Insert();

	TLedgers ledger;
	BulkInserter ledgers(m_Connection, ledger);
	TChartOfAccounts account;
	BulkInserter accounts(m_Connection, account);
	for (const Account& a : m_Accounts)
	{
		account.f_Account = a.code;
		account.f_Description = a.description;
		account.f_Ledger = a.ledger;
		account.f_CarriesBalances = a.balances;
		account.f_ExcludedFromImport = a.ledgerType == LEDGER_SUMMARY;
		account.f_CostAccounting = a.costAccounting;
		account.f_CostAccDetail = a.costAccDetail;
		accounts.Insert();
		if (a.code == a.ledger)
		{
			ledger.f_Ledger = a.code;
			ledger.f_Description = a.description;
			ledger.f_LedgerType = DataEnum(E_LEDGERTYPE, a.ledgerType);
			ledgers.Insert();
		}
	}

	TCompanyFiscalYears year;
	BulkInserter years(m_Connection, year);
	for (int y = m_nFirstYear; y <= m_nFirstYear + 1; ++y)
	{
		year.f_FiscalYear = y;
		year.f_Description = CString::Formatted("Esercizio %d", y);
		year.f_StartDate = DataDate(1, 1, y);
		year.f_EndDate = DataDate(31, 12, y);
		year.f_Opened = TRUE;
		years.Insert();
	}

	TCostCenters centre;
	BulkInserter centres(m_Connection, centre);
	for (const CostCentre& c : m_CostCentres)
	{
		centre.f_CostCenter = c.code;
		centre.f_Description = c.description;
		centres.Insert();
	}
	TJobs job;
	BulkInserter jobs(m_Connection, job);
	for (const Job& j : m_Jobs)
	{
		job.f_Job = j.code;
		job.f_Description = j.description;
		job.f_StartingDate = j.start;
		job.f_EndingDate = j.end;
		jobs.Insert();
	}

	const struct
	{
		const char* code;
		const char* description;
		double perc;
	} taxes[] = {
		{"22", "Aliquota ordinaria 22%", 22}, {"10", "Aliquota ridotta 10%", 10},
		{"5", "Aliquota ridotta 5%", 5},     {"4", "Aliquota minima 4%", 4},
		{"N1", "Escluso art. 15", 0},        {"N2", "Non soggetto", 0},
		{"N3", "Non imponibile art. 8", 0},  {"N4", "Esente art. 10", 0},
		{"N6", "Inversione contabile", 0},
	};
	TTAX tax;
	BulkInserter taxCodes(m_Connection, tax);
	for (auto& t : taxes)
	{
		tax.f_TaxCode = t.code;
		tax.f_Description = t.description;
		tax.f_Perc = t.perc;
		taxCodes.Insert();
	}

	const struct
	{
		const char* code;
		const char* description;
		int instalments, first, between;
		bool endOfMonth;
		WORD split;
		bool taxOnFirst;
	} terms[] = {
		{"RD", "Rimessa diretta", 1, 0, 0, false, 0, false},
		{"BB30", "Bonifico bancario 30 gg data fattura", 1, 30, 0, false, 0, false},
		{"BB60FM", "Bonifico bancario 60 gg data fattura fine mese", 1, 60, 0, true, 0, false},
		{"RB3060", "Ri.Ba. 30/60 gg data fattura fine mese", 2, 30, 30, true, 0, false},
		{"RB306090", "Ri.Ba. 30/60/90 gg data fattura fine mese", 3, 30, 30, true, 0, true},
		{"RB90FM", "Ri.Ba. 90 gg data fattura fine mese", 1, 90, 0, true, 0, false},
		{"SDD30", "Addebito diretto SDD 30 gg", 1, 30, 0, false, 0, false},
		{"R6M", "Sei rate mensili", 6, 30, 30, false, 1, false},
	};
	TPaymentTerms term;
	BulkInserter paymentTerms(m_Connection, term);
	for (auto& t : terms)
	{
		term.f_Code = t.code;
		term.f_Description = t.description;
		term.f_NoOfInstalments = t.instalments;
		term.f_DaysToFirstInstalment = t.first;
		term.f_DaysBetweenInstalments = t.between;
		term.f_EndOfMonth = t.endOfMonth;
		term.f_AmountsSplit = DataEnum(E_INSTALMENTSPLIT, t.split);
		term.f_TaxOnFirstInstalment = t.taxOnFirst;
		paymentTerms.Insert();
	}
}

void DemoCompany::Post(int year, int type, int month, int day, const Lines& lines)
{
	long long total = 0;
	for (const Line& l : lines)
		total += l.cents;
	if (total != 0)
		throw std::logic_error("demo company: a posting does not balance");
	for (const Line& l : lines)
	{
		if (l.cents == 0)
			continue;
		auto& cell = Balance(year, type, l.account, month);
		(l.cents > 0 ? cell.first : cell.second) += std::llabs(l.cents);
		if (m_Accounts[static_cast<size_t>(l.account)].costAccounting)
			CostAccountingEntries(year, type, month, day, l);
	}
}

// The line's amount over two or three cost centres of the account's pool (or its own cost
// centre), with a job now and then when the account is detailed by job.
void DemoCompany::CostAccountingEntries(int year, int type, int month, int day, const Line& line)
{
	Rng& rng = *m_pRng;
	const Account& account = m_Accounts[static_cast<size_t>(line.account)];
	std::vector<int> centres;
	if (line.costCentre >= 0)
		centres.push_back(line.costCentre);
	else
	{
		const std::vector<int>& pool = m_Pools[account.pool];
		const int n = std::min(static_cast<int>(pool.size()), rng.Between(2, 3));
		for (int k = 0; k < n; ++k)
		{
			int c = rng.Pick(pool);
			while (std::find(centres.begin(), centres.end(), c) != centres.end())
				c = pool[(static_cast<size_t>(std::find(pool.begin(), pool.end(), c) - pool.begin()) + 1) % pool.size()];
			centres.push_back(c);
		}
	}
	std::vector<double> weights;
	for (size_t k = 0; k < centres.size(); ++k)
		weights.push_back(0.2 + rng.Unit());
	const std::vector<long long> parts = SplitCents(std::llabs(line.cents), weights);

	const DataDate date(day, month, year);
	CString job;
	if (account.costAccDetail && rng.Chance(account.pool == POOL_SALES ? 0.5 : 0.3))
	{
		std::vector<size_t> running;
		for (size_t j = 0; j < m_Jobs.size(); ++j)
			if (m_Jobs[j].start.GetDayNumber() <= date.GetDayNumber() &&
				date.GetDayNumber() <= m_Jobs[j].end.GetDayNumber())
				running.push_back(j);
		if (!running.empty())
			job = m_Jobs[rng.Pick(running)].code;
	}

	TCostAccEntriesDetail& e = *m_pEntry;
	++m_nEntryId;
	for (size_t k = 0; k < centres.size(); ++k)
	{
		if (parts[k] == 0)
			continue;
		e.f_EntryId = m_nEntryId;
		e.f_Line = static_cast<int>(k) + 1;
		e.f_PostingDate = date;
		e.f_FiscalYear = year;
		e.f_EntryType = DataEnum(E_COSTACCENTRYTYPE, type == 0 ? 1 : 2);
		e.f_Account = account.code;
		e.f_CostCenter = m_CostCentres[static_cast<size_t>(centres[k])].code;
		e.f_Job = job;
		e.f_Amount = static_cast<double>(parts[k]) / 100.0;
		e.f_DebitCreditSign = DataEnum(E_DEBITCREDIT, line.cents > 0 ? 0 : 1);
		e.f_Notes = account.description;
		m_pEntries->Insert();
		auto& cell = m_CentreBalances[CentreKey(year, type, centres[k], line.account, month)];
		(line.cents > 0 ? cell.first : cell.second) += parts[k];
	}
}

// The year's income taxes on its result so far (December's postings done): IRES on the result
// before tax, IRAP on the value of production less its costs but personnel; both set against
// the year's advances, the rest owed.
void DemoCompany::YearTaxes(int year, int type)
{
	long long beforeTax = 0, personnel = 0, financial = 0;
	long long advances[2] = {0, 0};
	const int advanceAccounts[2] = {Acc("0601002"), Acc("0601003")};
	for (int account = 0; account < static_cast<int>(m_Accounts.size()); ++account)
	{
		const Account& a = m_Accounts[static_cast<size_t>(account)];
		for (int i = 0; i < 2; ++i)
			if (account == advanceAccounts[i])
				for (int month = 1; month <= 12; ++month)
					advances[i] += Balance(year, type, account, month).first;
		if ((a.ledgerType != LEDGER_COSTS && a.ledgerType != LEDGER_REVENUES) || a.ledger == "27")
			continue;
		long long cents = 0;  // debit positive: a cost
		for (int month = 1; month <= 12; ++month)
		{
			const auto& cell = Balance(year, type, account, month);
			cents += cell.first - cell.second;
		}
		beforeTax -= cents;
		if (a.ledger == "23")
			personnel += cents;
		else if (a.ledger == "26" || a.ledger == "33")
			financial += cents;
	}
	const long long ires = std::max(0LL, beforeTax) * 24 / 100;
	const long long irap = std::max(0LL, beforeTax + personnel + financial) * 39 / 1000;
	const int iresDue = Acc("1501005"), irapDue = Acc("1501006");
	Post(year, type, 12, 31, {{Acc("2701001"), ires}, {Acc("2701002"), irap}, {iresDue, -ires}, {irapDue, -irap}});
	Post(year, type, 12, 31,
		 {{iresDue, advances[0]}, {advanceAccounts[0], -advances[0]}, {irapDue, advances[1]}, {advanceAccounts[1], -advances[1]}});
}

// One fiscal year of postings, month by month. The opening balances (debit positive) come in,
// the closing ones of the balance-sheet accounts go out.
void DemoCompany::SimulateYear(int year, int type, std::map<int, long long>& balances)
{
	m_pRng = std::make_unique<Rng>(static_cast<std::uint64_t>(year) * 1000003u + static_cast<std::uint64_t>(type) * 7919u +
								   static_cast<std::uint64_t>(m_nScale));
	Rng& rng = *m_pRng;
	// The forecast is the plan: a little more and steadier.
	m_dFactor = type == 0 ? 1.0 : 1.04;
	m_dNoise = type == 0 ? 0.25 : 0.05;
	const double season[12] = {0.85, 0.92, 1.05, 1.0, 1.06, 1.1, 1.02, 0.6, 1.05, 1.12, 1.1, 1.03};

	const int vatSales = Acc("1501001"), vatPurchases = Acc("0601001"), vatAccount = Acc("1501002");
	const int wagesDue = Acc("1701001"), inps = Acc("1601001"), inail = Acc("1601002"), withheld = Acc("1501003");
	const int tfr = Acc("1201001"), openingAccount = Acc("4001001");
	const auto& customersIt = m_Generated[GEN_CUSTOMERS_IT];
	std::vector<int> customers = customersIt;
	for (Generated g : {GEN_CUSTOMERS_EU, GEN_CUSTOMERS_WORLD})
		customers.insert(customers.end(), m_Generated[g].begin(), m_Generated[g].end());
	std::vector<int> suppliers = m_Generated[GEN_SUPPLIERS_IT];
	suppliers.insert(suppliers.end(), m_Generated[GEN_SUPPLIERS_WORLD].begin(), m_Generated[GEN_SUPPLIERS_WORLD].end());
	const std::vector<int>& products = m_Generated[GEN_PRODUCTS];
	const std::vector<int>& materials = m_Generated[GEN_MATERIALS];
	const std::vector<int> services = {Acc("3101001"), Acc("3101002"), Acc("3101003"), Acc("3101004"), Acc("3101005")};

	// Collections, payments and settlements falling due in a month: account, cents to clear.
	std::vector<std::vector<std::pair<int, long long>>> due(13);

	// The opening entry against the opening balance-sheet account, and what it leaves to clear.
	{
		Lines opening;
		long long debits = 0, credits = 0;
		for (auto& [account, cents] : balances)
		{
			if (cents == 0)
				continue;
			opening.push_back({account, cents});
			(cents > 0 ? debits : credits) += cents;
			const CString& code = m_Accounts[static_cast<size_t>(account)].code;
			if (code.Left(2) == "05" || code.Left(2) == "14")
				due[static_cast<size_t>(rng.Between(1, 2))].push_back({account, cents});
			else if ((code == "1501005" || code == "1501006") && cents < 0)
				due[6].push_back({account, cents});  // last year's taxes, the balance after the advances
			else if (account == wagesDue || account == inps || account == inail || account == withheld ||
					 (account == vatAccount && cents < 0))
				due[1].push_back({account, cents});
		}
		opening.push_back({openingAccount, -debits});
		opening.push_back({openingAccount, -credits});
		Post(year, type, 1, 1, opening);
	}

	for (int month = 1; month <= 12; ++month)
	{
		Step(CString::Formatted("%s dell'esercizio %d, mese %d", type ? "previsione" : "consuntivo", year, month));
		const int lastDay = MonthDays(month, year);
		long long vatDebit = 0, vatCredit = 0, sales = 0;

		// Collections and payments of what fell due: against a bank.
		for (auto& [account, cents] : due[static_cast<size_t>(month)])
			Post(year, type, month, rng.Between(5, 28), {{account, -cents}, {Bank(), cents}});

		// Invoices to customers: products and goods, with VAT for Italian customers.
		for (int c : customers)
		{
			if (!rng.Chance(0.5))
				continue;
			const bool italian = m_Italian[static_cast<size_t>(c)];
			Lines lines;
			long long net = 0;
			for (int k = rng.Between(1, 4); k > 0; --k)
			{
				const long long cents = Cents(rng.Between(400, 6500) * season[month - 1] * m_dFactor * Noise());
				lines.push_back({rng.Chance(0.85) ? rng.Pick(products) : Acc(italian ? "3002001" : "3002002"), -cents});
				net += cents;
			}
			const long long vat = italian ? net * 22 / 100 : 0;
			lines.push_back({vatSales, -vat});
			lines.push_back({c, net + vat});
			vatDebit += vat;
			sales += net;
			Post(year, type, month, rng.Between(1, 28), lines);
			if (month + 2 <= 12)
				due[static_cast<size_t>(month + 2)].push_back({c, net + vat});
		}
		// Services: installations, assistance, maintenance contracts.
		for (int k = 0; k < 4 * m_nScale; ++k)
		{
			const int c = rng.Pick(customersIt);
			const long long net = Amount(rng.Between(800, 9000)) / m_nScale;
			const long long vat = net * 22 / 100;
			Post(year, type, month, rng.Between(1, 28), {{rng.Pick(services), -net}, {vatSales, -vat}, {c, net + vat}});
			vatDebit += vat;
			sales += net;
			if (month + 2 <= 12)
				due[static_cast<size_t>(month + 2)].push_back({c, net + vat});
		}

		// Invoices from suppliers: materials, consumables and services.
		auto purchase = [&](int costAccount, long long net, int supplier, int vatPerc, int payIn) {
			const long long vat = net * vatPerc / 100;
			Post(year, type, month, rng.Between(1, 28), {{costAccount, net}, {vatPurchases, vat}, {supplier, -net - vat}});
			vatCredit += vat;
			if (month + payIn <= 12)
				due[static_cast<size_t>(month + payIn)].push_back({supplier, -net - vat});
		};
		// Materials follow the month's sales (about two fifths of them), over the invoices of some suppliers.
		{
			struct Invoice
			{
				int account, supplier;
				double weight;
			};
			std::vector<Invoice> invoices;
			double weights = 0;
			for (int s : suppliers)
			{
				if (!rng.Chance(0.4))
					continue;
				for (int k = rng.Between(1, 2); k > 0; --k)
				{
					const int account = rng.Chance(0.8) ? rng.Pick(materials)
														: Acc(rng.Pick(std::vector<const char*>{"2002001", "2002002", "2002003", "2003001"}));
					invoices.push_back({account, s, rng.Between(650, 10400) * Noise()});
					weights += invoices.back().weight;
				}
			}
			const double target = static_cast<double>(sales) * 0.40 * (1.0 + 0.05 * (2.0 * rng.Unit() - 1.0));
			for (const Invoice& i : invoices)
				purchase(i.account, std::llround(target * i.weight / weights), i.supplier, 22, 2);
		}
		const struct
		{
			const char* account;
			double euros;
			int vat;
		} monthlyServices[] = {
			{"2101001", 9500, 22}, {"2101002", 3800, 22}, {"2101003", 1400, 22}, {"2101005", 14000, 10},
			{"2101006", 2600, 10}, {"2102002", 2100, 22}, {"2103001", 4500, 22}, {"2103003", 6000, 0},
			{"2103006", 1200, 22}, {"2103007", 2500, 22}, {"2103008", 1500, 22}, {"2103009", 900, 22},
			{"2501003", 400, 22},  {"2304001", 700, 22},  {"2304002", 2200, 4},  {"2501004", 350, 22},
		};
		for (auto& s : monthlyServices)
			purchase(Acc(s.account), Amount(s.euros), rng.Pick(suppliers), s.vat, 1);
		purchase(Acc("2101004"), Cents(static_cast<double>(sales) / 100.0 * 0.015), rng.Pick(suppliers), 22, 1);
		purchase(Acc("2102001"), Cents(static_cast<double>(sales) / 100.0 * 0.03), rng.Pick(suppliers), 0, 1);
		if (month % 3 == 0)
			purchase(Acc("2103005"), Amount(6000), rng.Pick(suppliers), 0, 1);
		if (month == 4 || month == 10)
			purchase(Acc("2102003"), Amount(12000), rng.Pick(suppliers), 22, 2);

		// Rents and leases, paid from a bank.
		const struct
		{
			const char* account;
			double euros;
			int vat;
		} rents[] = {{"2201001", 9500, 0}, {"2201002", 4200, 22}, {"2201003", 1800, 22}, {"2201004", 1100, 22}};
		for (auto& r : rents)
		{
			const long long net = Amount(r.euros), vat = net * r.vat / 100;
			Post(year, type, month, 1, {{Acc(r.account), net}, {vatPurchases, vat}, {Bank(), -net - vat}});
			vatCredit += vat;
		}

		// Wages of each cost centre, with the employer's charges; paid the month after.
		long long net = 0, social = 0, insurance = 0, tax = 0;
		for (size_t i = 0; i < m_CostCentres.size(); ++i)
		{
			const CostCentre& c = m_CostCentres[i];
			const double months = 13.0 / 12.0;  // the thirteenth month accrues over the year
			const long long gross = Cents(c.monthlyWages * months * m_dFactor * (1 + 0.03 * (2 * rng.Unit() - 1)));
			const long long employer = gross * 30 / 100, premium = gross * 12 / 1000, severance = gross * 691 / 10000;
			const long long employee = gross * 919 / 10000, irpef = gross * 21 / 100;
			const int cc = static_cast<int>(i);
			const char* wages = c.production ? "2301001" : c.code == "DIR" ? "2301003" : "2301002";
			Post(year, type, month, lastDay,
				 {{Acc(wages), gross, cc},
				  {Acc("2302001"), employer, cc},
				  {Acc("2302002"), premium, cc},
				  {Acc("2303001"), severance, cc},
				  {inps, -employer - employee},
				  {inail, -premium},
				  {tfr, -severance},
				  {withheld, -irpef},
				  {wagesDue, -(gross - employee - irpef)}});
			net += gross - employee - irpef;
			social += employer + employee;
			insurance += premium;
			tax += irpef;
		}
		if (month < 12)
			for (auto [account, cents] : std::initializer_list<std::pair<int, long long>>{
					 {wagesDue, -net}, {inps, -social}, {inail, -insurance}, {withheld, -tax}})
				due[static_cast<size_t>(month + 1)].push_back({account, cents});

		// Depreciation of the month.
		const struct
		{
			const char* cost;
			const char* fund;
			double euros;
		} depreciation[] = {{"2402001", "0205001", 4500},
							{"2402002", "0205002", 8500},
							{"2402003", "0205003", 1700},
							{"2402004", "0205004", 2600},
							{"2401002", "0102002", 650}};
		for (auto& d : depreciation)
		{
			const long long cents = Cents(d.euros * m_nScale);
			Post(year, type, month, lastDay, {{Acc(d.cost), cents}, {Acc(d.fund), -cents}});
		}

		// Banks: charges, mortgage instalment, interest now and then; a rent earned.
		{
			const long long charges = Amount(320);
			Post(year, type, month, lastDay, {{Acc("2601003"), charges}, {Bank(), -charges}});
			const long long interest = Cents(2600.0 * m_nScale), principal = Cents(9000.0 * m_nScale);
			Post(year, type, month, 15,
				 {{Acc("2601002"), interest}, {Acc("1302001"), principal}, {Bank(), -interest - principal}});
			const long long rent = Cents(1500.0 * m_nScale);
			Post(year, type, month, 5, {{Bank(), rent}, {Acc("3201002"), -rent}});
		}
		if (month % 3 == 0)
		{
			const long long interest = Amount(450);
			Post(year, type, month, lastDay, {{Bank(), interest}, {Acc("3301001"), -interest}});
		}
		if (rng.Chance(0.3))
		{
			const long long refund = Amount(600);
			Post(year, type, month, rng.Between(1, 28), {{Bank(), refund}, {Acc("3201001"), -refund}});
		}

		// A new machine in spring, paid in two months.
		if (month == 4)
			purchase(Acc("0202002"), Amount(140000), rng.Pick(suppliers), 22, 2);

		// Taxes: advances in June and November, the year's charge in December on its result.
		if (month == 6 || month == 11)
			Post(year, type, month, 30,
				 {{Acc("0601002"), Cents(35000.0 * m_nScale)},
				  {Acc("0601003"), Cents(30000.0 * m_nScale)},
				  {Bank(), -Cents(65000.0 * m_nScale)}});
		if (month == 12)
		{
			const long long stock = Amount(18000) - Cents(18000.0 * m_nScale);
			Post(year, type, month, 31, {{Acc("0401001"), stock}, {Acc("2004001"), -stock}});
			YearTaxes(year, type);
		}
		if (year > m_nFirstYear && month == 5)
		{
			// Last year's result goes to the reserves.
			auto it = balances.find(Acc("1003001"));
			const long long profit = it == balances.end() ? 0 : -it->second;
			if (profit > 0)
			{
				const long long legal = profit / 20;
				Post(year, type, month, 15,
					 {{Acc("1003001"), profit}, {Acc("1002001"), -legal}, {Acc("1002003"), legal - profit}});
			}
		}
		// Memorandum accounts: goods of others held, a guarantee given.
		if (month == 3)
			Post(year, type, month, 10, {{Acc("1901001"), Cents(45000.0 * m_nScale)}, {Acc("1901002"), -Cents(45000.0 * m_nScale)}});
		if (month == 9)
			Post(year, type, month, 20, {{Acc("1902001"), Cents(150000.0 * m_nScale)}, {Acc("1902002"), -Cents(150000.0 * m_nScale)}});

		// The month's VAT settled on the VAT account; a debt is paid the month after.
		Post(year, type, month, lastDay, {{vatSales, vatDebit}, {vatPurchases, -vatCredit}, {vatAccount, vatCredit - vatDebit}});
		if (month < 12 && vatDebit > vatCredit)
			due[static_cast<size_t>(month + 1)].push_back({vatAccount, vatCredit - vatDebit});
	}

	// The balance-sheet accounts close with their balances; the result goes to the year's result.
	std::map<int, long long> closing;
	long long result = 0;
	for (int account = 0; account < static_cast<int>(m_Accounts.size()); ++account)
		for (int month = 1; month <= 12; ++month)
		{
			const auto& cell = Balance(year, type, account, month);
			const long long cents = cell.first - cell.second;
			const WORD ledgerType = m_Accounts[static_cast<size_t>(account)].ledgerType;
			if (ledgerType <= LEDGER_MEMORANDUM)
				closing[account] += cents;
			else if (ledgerType != LEDGER_SUMMARY)
				result += cents;
		}
	closing[Acc("1003001")] += result;
	balances = closing;
}

void DemoCompany::WriteBalances()
{
	Step("saldi mensili");
	TChartOfAccountsBalances b;
	BulkInserter balances(m_Connection, b);
	for (int year = m_nFirstYear; year <= m_nFirstYear + 1; ++year)
		for (int type = 0; type < 2; ++type)
			for (int account = 0; account < static_cast<int>(m_Accounts.size()); ++account)
				for (int month = 1; month <= 12; ++month)
				{
					const auto& cell = Balance(year, type, account, month);
					if (cell.first == 0 && cell.second == 0)
						continue;
					b.f_FiscalYear = year;
					b.f_BalanceType = DataEnum(E_BALANCETYPE, static_cast<WORD>(type));
					b.f_Account = m_Accounts[static_cast<size_t>(account)].code;
					b.f_BalanceYear = year;
					b.f_BalanceMonth = month;
					b.f_Debit = static_cast<double>(cell.first) / 100.0;
					b.f_Credit = static_cast<double>(cell.second) / 100.0;
					balances.Insert();
				}
	m_nBalanceRows = balances.Rows();
	TCostCentersBalances c;
	BulkInserter centres(m_Connection, c);
	std::vector<std::uint64_t> keys;
	for (auto& [key, cell] : m_CentreBalances)
		keys.push_back(key);
	std::sort(keys.begin(), keys.end());
	for (std::uint64_t key : keys)
	{
		const auto& cell = m_CentreBalances[key];
		const int month = static_cast<int>(key % 16), account = static_cast<int>(key / 16 % 65536);
		const int centre = static_cast<int>(key / 16 / 65536 % 4096);
		const int type = static_cast<int>(key / 16 / 65536 / 4096 % 2), year = static_cast<int>(key / 16 / 65536 / 4096 / 2);
		c.f_FiscalYear = year;
		c.f_BalanceType = DataEnum(E_BALANCETYPE, static_cast<WORD>(type));
		c.f_CostCenter = m_CostCentres[static_cast<size_t>(centre)].code;
		c.f_Account = m_Accounts[static_cast<size_t>(account)].code;
		c.f_BalanceYear = year;
		c.f_BalanceMonth = month;
		c.f_Debit = static_cast<double>(cell.first) / 100.0;
		c.f_Credit = static_cast<double>(cell.second) / 100.0;
		centres.Insert();
	}
}

// The balances the company starts with, debit positive; the retained earnings even them out.
std::map<int, long long> OpeningBalances(int scale, const std::map<CString, int>& byCode,
										 const std::map<Generated, std::vector<int>>& generated)
{
	const struct
	{
		const char* code;
		double euros;
	} fixed[] = {
		{"0201001", 350000},   {"0201002", 1800000},  {"0202001", 640000},   {"0202002", 920000},
		{"0203001", 180000},   {"0204001", 60000},    {"0204002", 45000},    {"0204003", 120000},
		{"0205001", -540000},  {"0205002", -610000},  {"0205003", -95000},   {"0205004", -130000},
		{"0102002", 40000},    {"0301002", 25000},    {"0302002", 12000},    {"0401001", 310000},
		{"0402001", 420000},   {"0701001", 180000},   {"0701002", 95000},    {"0701003", 60000},
		{"0701004", 40000},    {"0702001", 3500},     {"1001001", -1000000}, {"1002001", -200000},
		{"1002002", -800000},  {"1201001", -420000},  {"1302001", -900000},  {"1501002", -35000},
		{"1601001", -33000},   {"1701001", -58000},   {"1101003", -40000},
	};
	std::map<int, long long> balances;
	long long total = 0;
	for (auto& f : fixed)
	{
		const long long cents = Cents(f.euros * scale);
		balances[byCode.at(f.code)] = cents;
		total += cents;
	}
	// Customers owe and suppliers are owed the last two months' invoices.
	Rng rng(0x0BE1 + static_cast<std::uint64_t>(scale));
	for (auto [kind, sign, euros] : std::initializer_list<std::tuple<Generated, int, double>>{
			 {GEN_CUSTOMERS_IT, 1, 15000.0},
			 {GEN_CUSTOMERS_EU, 1, 12000.0},
			 {GEN_SUPPLIERS_IT, -1, 16000.0},
			 {GEN_SUPPLIERS_WORLD, -1, 9000.0}})
		for (int account : generated.at(kind))
		{
			const long long cents = sign * Cents(euros * (0.3 + rng.Unit()));
			balances[account] = cents;
			total += cents;
		}
	balances[byCode.at("1002003")] = -total;
	return balances;
}

DemoCompanySummary DemoCompany::Create()
{
	MakeChart();
	MakeCostCentresAndJobs();
	m_Balances.assign(2 * 2 * m_Accounts.size() * 12, {0, 0});
	for (int i = 0; i < static_cast<int>(m_CostCentres.size()); ++i)
	{
		const CostCentre& c = m_CostCentres[static_cast<size_t>(i)];
		const bool commercial = c.code == "COM" || c.code == "MKT";
		if (c.production)
			m_Pools[POOL_PRODUCTION].push_back(i);
		if (commercial)
			m_Pools[POOL_COMMERCIAL].push_back(i);
		if (c.production || c.code == "COM")
			m_Pools[POOL_SALES].push_back(i);
		m_Pools[POOL_GENERAL].push_back(i);
	}
	for (const char* bank : {"0701001", "0701002", "0701003", "0701004"})
		m_Banks.push_back(Acc(bank));
	m_Italian.assign(m_Accounts.size(), 0);
	for (int c : m_Generated[GEN_CUSTOMERS_IT])
		m_Italian[static_cast<size_t>(c)] = 1;
	for (const char* table : DemoTables())
		m_Connection.ExecuteSQL(CString::Formatted("DELETE FROM %s", table));
	WriteRegisters();

	m_pEntry = std::make_unique<TCostAccEntriesDetail>();
	m_pEntries = std::make_unique<BulkInserter>(m_Connection, *m_pEntry);
	// Both years of the ledger first: the second year opens with the first one's closing.
	std::map<int, long long> ledger = OpeningBalances(m_nScale, m_ByCode, m_Generated);
	const std::map<int, long long> firstOpening = ledger;
	SimulateYear(m_nFirstYear, 0, ledger);
	const std::map<int, long long> secondOpening = ledger;
	SimulateYear(m_nFirstYear + 1, 0, ledger);
	std::map<int, long long> forecast = firstOpening;
	SimulateYear(m_nFirstYear, 1, forecast);
	forecast = secondOpening;
	SimulateYear(m_nFirstYear + 1, 1, forecast);
	WriteBalances();

	DemoCompanySummary summary;
	summary.firstYear = m_nFirstYear;
	summary.lastYear = m_nFirstYear + 1;
	summary.accounts = static_cast<long>(m_Accounts.size());
	summary.costCenters = static_cast<long>(m_CostCentres.size());
	summary.jobs = static_cast<long>(m_Jobs.size());
	summary.entries = m_pEntries->Rows();
	summary.balances = m_nBalanceRows;
	m_pEntries.reset();
	return summary;
}

}  // namespace

std::vector<CString> TablesWithCompanyData(SqlConnection& connection)
{
	std::vector<CString> held;
	try
	{
		for (const char* table : DemoTables())
			if (connection.Db().TableExists(table))
			{
				auto st = connection.Db().Prepare(CString::Formatted("SELECT 1 FROM %s LIMIT 1", table).str());
				if (st->Step())
					held.emplace_back(table);
			}
	}
	catch (const plv::db::DbError& e)
	{
		throw SqlException(e.what());
	}
	return held;
}

DemoCompanySummary CreateDemoCompany(SqlConnection& connection, int scale)
{
	if (scale < 1 || scale > 25)
		throw std::invalid_argument("the demo company's scale goes from 1 to 25");
	if (!RegisterBaseTables(connection) || !RegisterLedgerTables(connection))
		throw SqlException("Impossibile creare le tabelle del gestionale.");
	const int lastYear = AfxGetApplicationYear() ? AfxGetApplicationYear() : AfxGetApplicationDate().Year();
	connection.BeginTransaction();
	try
	{
		DemoCompanySummary summary = DemoCompany(connection, scale, lastYear).Create();
		connection.CommitTransaction();
		return summary;
	}
	catch (const plv::db::DbError& e)
	{
		connection.RollbackTransaction();
		throw SqlException(e.what());
	}
	catch (...)
	{
		connection.RollbackTransaction();
		throw;
	}
}

}  // namespace erp
