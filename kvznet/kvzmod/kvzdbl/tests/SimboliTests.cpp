#include <map>
#include <set>

#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagMacro.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagSimboli.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TElencoContiSimboloPBase.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciExtracont.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciRiclass.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliOutputRiclass.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliPianoBase.h"
#include "kvznet/kvzmod/kvzdbl/tests/KvzDblFixture.h"
#include "kvznet/kvzmod/kvzdbl/tests/KvzDblTestHelpers.h"
#include "platform/plvoledb/driver/Driver.h"

namespace {
using namespace kvzdbl::test;
using Simboli = CompanyDb;

// Column -> tag of every enumerated column; long columns map to 0.
std::map<CString, int> EnumColumns(const SqlRecord& r)
{
	std::map<CString, int> out;
	for (int i = 0; i < r.GetSize(); ++i)
	{
		DataObj* p = r.GetDataObjAt(i);
		if (auto* e = dynamic_cast<DataEnum*>(p))
			out[r.GetItem(i)->m_strColumnName] = e->GetTagValue();
		else if (dynamic_cast<DataLng*>(p))
			out[r.GetItem(i)->m_strColumnName] = 0;
	}
	return out;
}

const V kKey = {"Esercizio", "ModelloRiclassific", "NomeSimbolo"};

// A symbol row of any symbol table, with a marker (upper case: it may go to a code column) in
// one of its text columns.
template <class Rec>
void InsertSymbol(int year, const char* model, const char* name, const char* markerColumn, const char* marker)
{
	Rec r;
	r.GetDataObjFromColumnName("Esercizio")->Assign(DataInt(year));
	r.GetDataObjFromColumnName("ModelloRiclassific")->Assign(DataStr(model));
	r.GetDataObjFromColumnName(r.GetPrimaryKey()[2])->Assign(DataStr(name));
	r.GetDataObjFromColumnName(markerColumn)->Assign(DataStr(marker));
	InsertStoredRow(r);
}

CString Marker(SqlRecord* r, const char* markerColumn)
{
	return r->GetDataObjFromColumnName(markerColumn)->FormatData();
}

// The reader and updater of a symbol table take the name before the model: rows whose name
// and model are swapped tell a swapped pair apart. Year 0 and an empty model are searched;
// an empty name is not.
template <class Rec, class Reader, class Updater>
void CheckSymbolLookups(SqlConnection& conn, const char* markerColumn)
{
	InsertSymbol<Rec>(2025, "MOD", "NOME", markerColumn, "RIGHT");
	InsertSymbol<Rec>(2025, "NOME", "MOD", markerColumn, "SWAPPED");
	InsertSymbol<Rec>(2024, "MOD", "NOME", markerColumn, "LAST YEAR");
	InsertSymbol<Rec>(0, "", "SENZA", markerColumn, "NO YEAR, NO MODEL");
	InsertSymbol<Rec>(2025, "MOD", "", markerColumn, "NO NAME");

	Reader reader;
	struct Case
	{
		int year;
		const char* name;
		const char* model;
		const char* marker;  // null: not found
	} cases[] = {
		{2025, "NOME", "MOD", "RIGHT"}, {2025, "MOD", "NOME", "SWAPPED"}, {2024, "NOME", "MOD", "LAST YEAR"},
		{0, "SENZA", "", "NO YEAR, NO MODEL"}, {2025, "", "MOD", nullptr}, {2023, "NOME", "MOD", nullptr},
	};
	for (auto& c : cases)
	{
		SCOPED_TRACE(testing::Message() << c.year << " " << c.name << " " << c.model);
		auto res = reader.FindRecord(DataInt(c.year), DataStr(c.name), DataStr(c.model));
		ASSERT_EQ(res, c.marker ? TableReader::FOUND : TableReader::NOT_FOUND);
		if (c.marker)
		{
			EXPECT_EQ(Marker(reader.GetRecord(), markerColumn), c.marker);
		}
	}

	// The updater: same key order, the lock flag passed on.
	CBaseDocument docA, docB;
	Updater a(&docA), b(&docB);
	ASSERT_EQ(a.FindRecord(DataInt(2025), DataStr("NOME"), DataStr("MOD"), TRUE), TableReader::FOUND);
	EXPECT_EQ(Marker(a.GetRecord(), markerColumn), "RIGHT");
	EXPECT_EQ(b.FindRecord(DataInt(2025), DataStr("NOME"), DataStr("MOD"), TRUE), TableReader::LOCKED);
	EXPECT_EQ(b.FindRecord(DataInt(2025), DataStr("MOD"), DataStr("NOME"), TRUE), TableReader::FOUND);
	a.GetRecord()->GetDataObjFromColumnName(markerColumn)->Assign(DataStr("CHANGED"));
	ASSERT_TRUE(a.UpdateRecord());
	a.Free();
	b.Free();
	reader.SetForceQuery();
	ASSERT_EQ(reader.FindRecord(DataInt(2025), DataStr("NOME"), DataStr("MOD")), TableReader::FOUND);
	EXPECT_EQ(Marker(reader.GetRecord(), markerColumn), "CHANGED");

	CString table = reader.GetRecord()->GetTableName();
	reader.Free();
	conn.ExecuteSQL(CString("DROP TABLE ") + table);  // any query would now fail
	Reader fresh;
	Updater freshU;
	EXPECT_EQ(fresh.FindRecord(DataInt(2025), DataStr(""), DataStr("MOD")), TableReader::NOT_FOUND);
	EXPECT_EQ(freshU.FindRecord(DataInt(2025), DataStr(""), DataStr("MOD"), FALSE), TableReader::NOT_FOUND);
	EXPECT_THROW(fresh.FindRecord(DataInt(0), DataStr("X"), DataStr("")), SqlException);
}

Kvz_TElencoContiSimboloPBase Elenco(const char* model, const char* name, const char* conto, WORD tipo,
									const char* cdc, WORD segno)
{
	Kvz_TElencoContiSimboloPBase r;
	r.f_Esercizio = 2025;
	r.f_ModelloRiclassific = model;
	r.f_NomeSimbolo = name;
	r.f_ContoSelez = conto;
	r.f_TipoCentroComm = DataEnum(E_KVZ_TIPOCENTROCOMM, tipo);
	r.f_CentroCommessa = cdc;
	r.f_SegnoConto = DataEnum(E_KVZ_SEGNOCONTO, segno);
	return r;
}
}  // namespace

TEST_F(Simboli, RecordShapes)
{
	const V macro = {"Esercizio", "ModelloRiclassific", "NomeMacro", "Formula", "Annotazioni", "DataCreazione",
					 "DataUltModifica"};
	const V anag = {"Esercizio",       "ModelloRiclassific", "NomeSimbolo",       "TipoSimbolo",
					"DataCreazione",   "DataUltModifica",    "UsaAziendaEsterna", "Azienda"};
	const V pbase = {
		"Esercizio",      "ModelloRiclassific", "NomeSimbolo",    "Annotazioni",    "SelSaldo",      "SelRateo",
		"SelTotAss",      "SelBudget",          "TipoBudget",     "AggregFunction", "WhereEs",       "TipoOpeEs",
		"ValDaEsConst",   "ValDaEsSymb",        "ValDaEs",        "ValAEsConst",    "ValAEsSymb",    "ValAEs",
		"WhereMese",      "TipoOpeMese",        "ValDaMeseConst", "ValDaMeseSymb",  "ValDaMese",     "ValAMeseConst",
		"ValAMeseSymb",   "ValAMese",           "WhereConto",     "WhereCdcComm",   "SelContoVuoto", "TipoOpeConto",
		"ValDaConto",     "ValAConto",          "ElencoConti",    "ElencoContiCdcComm", "WhereSaldo", "TipoOpeSaldo",
		"ValDaSaldo",     "ValASaldo",          "WhereRateo",     "TipoOpeRateo",   "ValDaRateo",    "ValARateo",
		"WhereTotAss",    "TipoOpeTotAss",      "ValDaTotAss",    "ValATotAss"};
	const V elenco = {"Esercizio",      "ModelloRiclassific", "NomeSimbolo", "ContoSelez",
					  "TipoCentroComm", "CentroCommessa",     "SegnoConto",  "SelContoVuoto"};
	const V extrac = {"Esercizio",       "ModelloRiclassific", "NomeSimbolo",    "Annotazioni",    "ValoreEsConst",
					  "ValoreEsSymb",    "ValoreEs",           "ValoreMeseConst", "ValoreMeseSymb", "ValoreMese",
					  "ValoreCodice",    "ValoreCodiceA",      "AggregFunction", "FormulaDaUsare"};
	const V riclass = {"Esercizio",          "ModelloRiclassific", "NomeSimbolo",   "Annotazioni",
					   "ValoreEsConst",      "ValoreEsSymb",       "ValoreEs",      "ValoreModelloConst",
					   "ValoreModelloSymb",  "ValoreModello",      "ValoreCodice",  "ValoreCodiceA",
					   "AggregFunction",     "FormulaDaUsare",     "ValoreDalBudget", "TipoBudget"};
	const V output = {"Esercizio",       "ModelloRiclassific", "NomeSimbolo",    "Annotazioni",     "ValoreEsConst",
					  "ValoreEsSymb",    "ValoreEs",           "ValoreMeseConst", "ValoreMeseSymb", "ValoreMese",
					  "ValoreModello",   "ValoreCodice",       "ValoreCodiceA",  "AggregFunction",  "TipoDatoPBase",
					  "ValoreDalBudget", "TipoBudget",         "ValoreDaUsare"};
	const std::set<CString> symbolUpper = {"ModelloRiclassific", "NomeSimbolo"};
	const std::set<CString> codeUpper = {"ModelloRiclassific", "NomeSimbolo", "ValoreCodice", "ValoreCodiceA"};
	const int op = E_KVZ_TIPOOPERATORE;

	struct Case
	{
		const char* name;
		std::unique_ptr<SqlRecord> rec;
		const V& columns;
		V key;
		std::set<CString> upper;
		std::map<CString, int> enums;
	};
	Case cases[] = {
		{"macro", std::make_unique<Kvz_TAnagMacro>(), macro, {"Esercizio", "ModelloRiclassific", "NomeMacro"},
		 {"Formula"}, {}},
		{"registry", std::make_unique<Kvz_TAnagSimboli>(), anag, kKey, {"ModelloRiclassific", "NomeSimbolo", "Azienda"},
		 {{"TipoSimbolo", E_KVZ_TIPOSIMBOLO}}},
		{"registry ext", std::make_unique<Kvz_TAnagSimboli_Ext>(), anag, kKey,
		 {"ModelloRiclassific", "NomeSimbolo", "Azienda"}, {{"TipoSimbolo", 0}}},
		{"base plan", std::make_unique<Kvz_TSimboliPianoBase>(), pbase, kKey, symbolUpper,
		 {{"TipoBudget", E_KVZ_TIPOBUDGET},
		  {"AggregFunction", E_KVZ_AGGREGFUNCTION},
		  {"TipoOpeEs", op},
		  {"TipoOpeMese", op},
		  {"TipoOpeConto", E_KVZ_TIPOOPECONTO},
		  {"TipoOpeSaldo", op},
		  {"TipoOpeRateo", op},
		  {"TipoOpeTotAss", op}}},
		{"account list", std::make_unique<Kvz_TElencoContiSimboloPBase>(), elenco,
		 {"Esercizio", "ModelloRiclassific", "NomeSimbolo", "ContoSelez", "TipoCentroComm", "CentroCommessa"},
		 {"ModelloRiclassific", "ContoSelez", "CentroCommessa"},
		 {{"TipoCentroComm", E_KVZ_TIPOCENTROCOMM}, {"SegnoConto", E_KVZ_SEGNOCONTO}}},
		{"extra-accounting", std::make_unique<Kvz_TSimboliCodiciExtracont>(), extrac, kKey, codeUpper,
		 {{"AggregFunction", E_KVZ_AGGREGFUNCTION}}},
		{"reclassified", std::make_unique<Kvz_TSimboliCodiciRiclass>(), riclass, kKey, codeUpper,
		 {{"AggregFunction", E_KVZ_AGGREGFUNCTION}, {"TipoBudget", E_KVZ_TIPOBUDGET}}},
		{"results", std::make_unique<Kvz_TSimboliOutputRiclass>(), output, kKey, codeUpper,
		 {{"AggregFunction", E_KVZ_AGGREGFUNCTION},
		  {"TipoDatoPBase", E_KVZ_TIPODATOPBASE},
		  {"TipoBudget", E_KVZ_TIPOBUDGET}}},
		{"results ext", std::make_unique<Kvz_TSimboliOutputRiclass_Ext>(), output, kKey, codeUpper,
		 {{"AggregFunction", 0}, {"TipoDatoPBase", 0}, {"TipoBudget", 0}}},
	};
	for (auto& c : cases)
	{
		SCOPED_TRACE(c.name);
		ExpectRecordShape(*c.rec, c.columns, static_cast<int>(c.columns.size()), c.key, c.upper);  // no local fields
		EXPECT_EQ(EnumColumns(*c.rec), c.enums);
	}
	Kvz_TSimboliPianoBase p;
	EXPECT_EQ(p.f_ValDaSaldo.GetDataType(), DataMon().GetDataType());
	EXPECT_EQ(p.f_ValDaEs.GetDataType(), DataInt().GetDataType());
	EXPECT_EQ(p.f_TipoOpeConto.GetValue(), 0x3AA50000u);
	EXPECT_STREQ(Kvz_TAnagSimboli_Ext::GetStaticName(), "Kvz_AnagSimboli");
	EXPECT_STREQ(Kvz_TSimboliOutputRiclass_Ext::GetStaticName(), "Kvz_SimboliOutputRiclassif");
}

TEST_F(Simboli, ReadersAndUpdatersTakeTheNameBeforeTheModel)
{
	{
		SCOPED_TRACE("macro");
		CheckSymbolLookups<Kvz_TAnagMacro, Kvz_TRAnagMacro, Kvz_TUAnagMacro>(*m_pConn, "Annotazioni");
	}
	{
		SCOPED_TRACE("registry");
		CheckSymbolLookups<Kvz_TAnagSimboli, Kvz_TRAnagSimboli, Kvz_TUAnagSimboli>(*m_pConn, "Azienda");
	}
	{
		SCOPED_TRACE("base plan");
		CheckSymbolLookups<Kvz_TSimboliPianoBase, Kvz_TRSimboliPianoBase, Kvz_TUSimboliPianoBase>(*m_pConn,
																								   "Annotazioni");
	}
	{
		SCOPED_TRACE("extra-accounting");
		CheckSymbolLookups<Kvz_TSimboliCodiciExtracont, Kvz_TRSimboliCodiciExtracont, Kvz_TUSimboliCodiciExtracont>(
			*m_pConn, "Annotazioni");
	}
	{
		SCOPED_TRACE("reclassified");
		CheckSymbolLookups<Kvz_TSimboliCodiciRiclass, Kvz_TRSimboliCodiciRiclass, Kvz_TUSimboliCodiciRiclass>(
			*m_pConn, "Annotazioni");
	}
	{
		SCOPED_TRACE("results");
		CheckSymbolLookups<Kvz_TSimboliOutputRiclass, Kvz_TRSimboliOutputRiclass, Kvz_TUSimboliOutputRiclass>(
			*m_pConn, "Annotazioni");
	}
}

TEST_F(Simboli, CaseOfNamesAndBoundsIsKeptWhereTheTableSaysSo)
{
	Kvz_TAnagMacro m;
	m.f_Esercizio = 2025;
	m.f_ModelloRiclassific = "mod";
	m.f_NomeMacro = "Ricavi";
	m.f_Formula = "_vendite - _resi";
	InsertRow(m);
	Kvz_TRAnagMacro macros;
	// Text keys compare ignoring case; what is stored keeps the case given where the table says so.
	ASSERT_EQ(macros.FindRecord(DataInt(2025), DataStr("RICAVI"), DataStr("MOD")), TableReader::FOUND);
	EXPECT_EQ(macros.GetRecord()->f_NomeMacro.GetString(), "Ricavi");
	EXPECT_EQ(macros.GetRecord()->f_ModelloRiclassific.GetString(), "mod");
	EXPECT_EQ(macros.GetRecord()->f_Formula.GetString(), "_VENDITE - _RESI");

	Kvz_TSimboliPianoBase p;
	p.f_Esercizio = 2025;
	p.f_ModelloRiclassific = "mod";
	p.f_NomeSimbolo = "costi";
	p.f_ValDaConto = "a01";
	p.f_ValAConto = "z99";
	InsertRow(p);
	Kvz_TRSimboliPianoBase pbase;
	ASSERT_EQ(pbase.FindRecord(DataInt(2025), DataStr("costi"), DataStr("mod")), TableReader::FOUND);
	EXPECT_EQ(pbase.GetRecord()->f_NomeSimbolo.GetString(), "COSTI");
	EXPECT_EQ(pbase.GetRecord()->f_ValDaConto.GetString(), "a01");
	EXPECT_EQ(pbase.GetRecord()->f_ValAConto.GetString(), "z99");

	Kvz_TSimboliOutputRiclass o;
	o.f_Esercizio = 2025;
	o.f_ModelloRiclassific = "mod";
	o.f_NomeSimbolo = "ebit";
	o.f_ValoreModello = "Ce01";
	o.f_ValoreCodice = "r1";
	InsertRow(o);
	Kvz_TRSimboliOutputRiclass out;
	ASSERT_EQ(out.FindRecord(DataInt(2025), DataStr("EBIT"), DataStr("MOD")), TableReader::FOUND);
	EXPECT_EQ(out.GetRecord()->f_ValoreModello.GetString(), "Ce01");
	EXPECT_EQ(out.GetRecord()->f_ValoreCodice.GetString(), "R1");
}

TEST_F(Simboli, AccountListReaderOverloadsOnOneInstance)
{
	Kvz_TElencoContiSimboloPBase rows[] = {
		Elenco("M1", "Sym", "C1", 0, "CDC1", 0), Elenco("M1", "Sym", "C1", 1, "JOB1", 1),
		Elenco("M1", "Sym", "C2", 0, "CDC2", 2), Elenco("M1", "Sym", "", 0, "CDC3", 3),
		// name and model swapped; the name is stored as given
		Elenco("SYM", "M1", "C1", 0, "CDC1", 4), Elenco("M1", "sym", "C4", 0, "CDC4", 5),
	};
	for (auto& r : rows)
		InsertRow(r);

	enum Overload
	{
		FULL,
		CONTO,
		CDC
	};
	struct Case
	{
		Overload how;
		const char* name;
		const char* conto;
		WORD tipo;
		const char* cdc;
		int segno;  // the row found, by its sign; -1 not found
	} cases[] = {
		{FULL, "Sym", "C1", 0, "CDC1", 0},  {CONTO, "Sym", "C2", 0, "", 2},    {CDC, "Sym", "", 1, "JOB1", 1},
		{FULL, "Sym", "c1", 1, "job1", 1},  {CONTO, "Sym", "C3", 0, "", -1},   {CDC, "Sym", "", 0, "CDC3", 3},
		{FULL, "Sym", "C2", 0, "CDC1", -1}, {CDC, "Sym", "", 0, "CDC2", 2},    {CONTO, "Sym", "C5", 0, "", -1},
		{CONTO, "SYM", "C4", 0, "", 5},     {FULL, "Sym", "C2", 0, "CDC2", 2}, {CDC, "Sym", "", 1, "CDC1", -1},
		{CONTO, "", "C1", 0, "", -1},       {FULL, "Sym", "C1", 1, "JOB1", 1},
	};
	Kvz_TRElencoContiSimboloPBase reader;
	for (auto& c : cases)
	{
		SCOPED_TRACE(testing::Message() << c.how << " " << c.name << " " << c.conto << " " << c.tipo << " " << c.cdc);
		DataInt year(2025);
		DataStr name(c.name), model("M1"), conto(c.conto), cdc(c.cdc);
		DataEnum tipo(E_KVZ_TIPOCENTROCOMM, c.tipo);
		TableReader::FindResult res = c.how == FULL    ? reader.FindRecord(year, name, model, conto, tipo, cdc)
									  : c.how == CONTO ? reader.FindRecord(year, name, model, conto)
													   : reader.FindRecord(year, name, model, tipo, cdc);
		ASSERT_EQ(res, c.segno < 0 ? TableReader::NOT_FOUND : TableReader::FOUND);
		if (c.segno < 0)
			continue;
		Kvz_TElencoContiSimboloPBase* r = reader.GetRecord();
		EXPECT_EQ(r->f_SegnoConto.GetItemValue(), c.segno);
		if (c.how == CONTO)
		{
			EXPECT_EQ(r->f_ContoSelez.GetString(), CString(c.conto).MakeUpper());
		}
		if (c.how == CDC)
		{
			EXPECT_EQ(r->f_CentroCommessa.GetString(), c.cdc);
		}
	}
	ASSERT_EQ(reader.FindRecord(DataInt(2025), DataStr("SYM"), DataStr("m1"), DataStr("C4")), TableReader::FOUND);
	EXPECT_EQ(reader.GetRecord()->f_NomeSimbolo.GetString(), "sym");
}

TEST_F(Simboli, ExtRecordsReadEnumerationsAsLongsOnAnotherCompany)
{
	auto other = OtherCompany("altra.db");
	Kvz_TAnagSimboli s;
	s.f_Esercizio = 2025;
	s.f_ModelloRiclassific = "M1";
	s.f_NomeSimbolo = "EBIT";
	s.f_TipoSimbolo = DataEnum(E_KVZ_TIPOSIMBOLO, 6);
	s.f_UsaAziendaEsterna = TRUE;
	s.f_Azienda = "az2";
	s.SetConnection(other.get());
	InsertRow(s);
	Kvz_TSimboliOutputRiclass o;
	o.f_Esercizio = 2025;
	o.f_ModelloRiclassific = "M1";
	o.f_NomeSimbolo = "EBIT";
	o.f_AggregFunction = DataEnum(E_KVZ_AGGREGFUNCTION, 2);
	o.f_TipoDatoPBase = DataEnum(E_KVZ_TIPODATOPBASE, 1);
	o.f_TipoBudget = DataEnum(E_KVZ_TIPOBUDGET, 3);
	o.f_ValoreDaUsare = 4;
	o.SetConnection(other.get());
	InsertRow(o);

	Kvz_TAnagSimboli_Ext sx(other.get());
	EXPECT_EQ(sx.f_TipoSimbolo, 0);
	ASSERT_TRUE(ReadFirstRow(sx));
	EXPECT_EQ(sx.f_TipoSimbolo.GetValue(), 0x3AA70006L);
	EXPECT_EQ(sx.f_Azienda.GetString(), "AZ2");

	Kvz_TSimboliOutputRiclass_Ext ox(other.get());
	ASSERT_TRUE(ReadFirstRow(ox));
	EXPECT_EQ(ox.f_AggregFunction.GetValue(), 0x3AA30002L);
	EXPECT_EQ(ox.f_TipoDatoPBase.GetValue(), 0x3AAA0001L);
	EXPECT_EQ(ox.f_TipoBudget.GetValue(), 0x3A9C0003L);
	EXPECT_EQ(ox.f_ValoreDaUsare, 4);

	Kvz_TRAnagSimboli reader;  // the current company has no such row
	EXPECT_EQ(reader.FindRecord(DataInt(2025), DataStr("EBIT"), DataStr("M1")), TableReader::NOT_FOUND);
}

// The formula engine looks up every symbol it values by year, model and name, and lists a
// model's symbols and macros; the adjustments and the balance import ask whether any symbol of
// a year selects an account or one of its cost centres or jobs.
TEST_F(Simboli, LookupsUseAnIndex)
{
	const char* const queries[] = {
		"SELECT * FROM Kvz_AnagSimboli WHERE Esercizio=? AND NomeSimbolo=? AND ModelloRiclassific=?",
		"SELECT * FROM Kvz_AnagSimboli WHERE Esercizio=? AND ModelloRiclassific=? ORDER BY NomeSimbolo",
		"SELECT * FROM Kvz_AnagMacro WHERE Esercizio=? AND NomeMacro=? AND ModelloRiclassific=?",
		"SELECT * FROM Kvz_AnagMacro WHERE Esercizio=? AND ModelloRiclassific=? ORDER BY NomeMacro",
		"SELECT * FROM Kvz_SimboliPianoBase WHERE Esercizio=? AND NomeSimbolo=? AND ModelloRiclassific=?",
		"SELECT * FROM Kvz_SimboliCodExtracont WHERE Esercizio=? AND NomeSimbolo=? AND ModelloRiclassific=?",
		"SELECT * FROM Kvz_SimboliCodRiclassif WHERE Esercizio=? AND NomeSimbolo=? AND ModelloRiclassific=?",
		"SELECT * FROM Kvz_SimboliOutputRiclassif WHERE Esercizio=? AND NomeSimbolo=? AND ModelloRiclassific=?",
		"SELECT * FROM Kvz_ElencoContiSimboloPBase WHERE Esercizio=? AND NomeSimbolo=? AND ModelloRiclassific=? "
		"ORDER BY ContoSelez",
		"SELECT * FROM Kvz_ElencoContiSimboloPBase WHERE Esercizio=? AND ContoSelez=?",
		"SELECT * FROM Kvz_ElencoContiSimboloPBase WHERE Esercizio=? AND ContoSelez=? AND TipoCentroComm=? AND "
		"CentroCommessa=?",
	};
	for (const char* q : queries)
	{
		std::string plan = ExpectIndexSearch(*m_pConn, q);
		EXPECT_EQ(plan.find("TEMP B-TREE"), std::string::npos) << q << "\n" << plan;
	}
}
