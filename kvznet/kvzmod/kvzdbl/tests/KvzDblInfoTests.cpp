#include <algorithm>

#include "kvznet/kvzmod/kvzdbl/KvzDblInfo.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TOperatoriStampe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TTmpRiclassificazioneTesta.h"
#include "kvznet/kvzmod/kvzdbl/tests/KvzDblFixture.h"

namespace {
using V = std::vector<CString>;

// Headers of 2025: M1 open to all, M2 only for its operators, M3 open to all and also assigned;
// M5 is assigned to rossi in 2025 but has a header only in 2024.
class WorkCopy : public CompanyDb
{
protected:
	void SetUp() override
	{
		CompanyDb::SetUp();
		if (IsSkipped() || HasFatalFailure())
			return;
		Header(2025, "M1", TRUE, "Conto economico");
		Header(2025, "M2", FALSE, "Margini");
		Header(2025, "M3", TRUE, "Stato patrimoniale");
		Header(2025, "M4", FALSE, "Solo bianchi");
		Header(2024, "M5", TRUE, "Vecchio");
		Assign(2025, "M2", "rossi");
		Assign(2025, "M3", "rossi");
		Assign(2025, "M4", "bianchi");
		Assign(2025, "M5", "rossi");
		Row(2025, "rossi", "OLD");    // no longer offered
		Row(2024, "rossi", "M5");     // another year
		Row(2025, "bianchi", "M4");   // another operator
		AfxSetApplicationDate(DataDate(15, 3, 2025));
		AfxSetLoginUser("rossi");
	}

	static void Header(int year, const char* model, BOOL tutti, const char* descr)
	{
		Kvz_TRiclassificazioneTesta r;
		r.f_Esercizio = year;
		r.f_ModelloRiclassific = model;
		r.f_TuttiOperatori = tutti;
		r.f_Descrizione = descr;
		r.f_Priorita = 7;
		r.f_DataCreazione = DataDate(2, 1, year);
		r.f_DataUltModifica = DataDate(3, 2, year);
		r.f_DataInizio = DataDate(1, 1, year);
		r.f_DataFine = DataDate(31, 12, year);
		r.f_TipoModello = DataEnum(E_KVZ_TIPOMODELLO, 1);
		r.f_FormulaCalcParametrico = "Ricavi * 2";
		InsertRow(r);
	}

	static void Assign(int year, const char* model, const char* op)
	{
		Kvz_TOperatoriStampe r;
		r.f_Esercizio = year;
		r.f_ModelloRiclassific = model;
		r.f_OperatoreStampa = op;
		InsertRow(r);
	}

	static void Row(int year, const char* op, const char* model)
	{
		Kvz_TTmpRiclassificazioneTesta r;
		r.f_Esercizio = year;
		r.f_Operatore = op;
		r.f_ModelloRiclassific = model;
		InsertRow(r);
	}

	// "year operator model all-operators" of every row of the work table, sorted.
	static V Rows()
	{
		Kvz_TTmpRiclassificazioneTesta r;
		SqlTable t(&r);
		t.Open(FALSE);
		t.SelectAll();
		V out;
		for (t.Query(); !t.IsEOF(); t.MoveNext())
			out.push_back(CString::Formatted("%d %s %s %d", static_cast<int>(r.f_Esercizio),
											 r.f_Operatore.GetString().GetString(),
											 r.f_ModelloRiclassific.GetString().GetString(),
											 static_cast<int>(static_cast<BOOL>(r.f_TuttiOperatori))));
		std::sort(out.begin(), out.end());
		return out;
	}

	static void Rebuild(const char* op = nullptr)
	{
		// The documents pass the logged-in user.
		CString name = op ? CString(op) : AfxGetLoginInfos()->m_strUserName;
		AfxGetKvzDblInfo()->GeneraTmpRiclassificazioneTesta(DataStr(name));
	}

	const V m_Untouched = {"2024 rossi M5 0", "2025 bianchi M4 0"};
};
}  // namespace

TEST_F(WorkCopy, RebuildsTheOperatorsModelsOfTheYear)
{
	EXPECT_EQ(AfxGetKvzDblInfo(), AfxGetKvzDblInfo());
	EXPECT_TRUE(AfxGetKvzDblInfo()->IsKindOf(RUNTIME_CLASS(KvzDblInfo)));

	// M3 is open to all and assigned: one row, marked open to all. M5 has no 2025 header: no row.
	const V expected = {"2024 rossi M5 0", "2025 bianchi M4 0", "2025 rossi M1 1", "2025 rossi M2 0",
						"2025 rossi M3 1"};
	Rebuild();
	EXPECT_EQ(Rows(), expected);
	Rebuild();
	EXPECT_EQ(Rows(), expected);  // twice is the same as once
	EXPECT_TRUE(m_Ui.Messages().empty());

	Kvz_TRTmpRiclassificazioneTesta reader;
	ASSERT_EQ(reader.FindRecord(DataInt(2025), DataStr("M2"), DataStr("rossi")), TableReader::FOUND);
	Kvz_TTmpRiclassificazioneTesta* p = reader.GetRecord();
	EXPECT_EQ(p->f_Descrizione.GetString(), "Margini");
	EXPECT_EQ(p->f_Priorita, 7);
	EXPECT_EQ(p->f_DataCreazione, DataDate(2, 1, 2025));
	EXPECT_EQ(p->f_DataUltModifica, DataDate(3, 2, 2025));
	EXPECT_EQ(p->f_DataInizio, DataDate(1, 1, 2025));
	EXPECT_EQ(p->f_DataFine, DataDate(31, 12, 2025));
	EXPECT_EQ(p->f_TipoModello.GetValue(), 0x3AAC0001u);
	EXPECT_EQ(p->f_FormulaCalcParametrico.GetString(), "Ricavi * 2");

	// An operator with no assigned models gets only those open to all.
	Rebuild("verdi");
	EXPECT_EQ(Rows(), (V{"2024 rossi M5 0", "2025 bianchi M4 0", "2025 rossi M1 1", "2025 rossi M2 0",
						 "2025 rossi M3 1", "2025 verdi M1 1", "2025 verdi M3 1"}));
}

TEST_F(WorkCopy, OperatorNamesAreBoundNotWrittenIntoTheStatement)
{
	struct
	{
		const char* op;
		V rows;
	} cases[] = {
		{"D'Amico", {"2025 D'Amico M1 1", "2025 D'Amico M3 1"}},
		{"x' OR '1'='1", {"2025 x' OR '1'='1 M1 1", "2025 x' OR '1'='1 M3 1"}},
	};
	for (auto& c : cases)
	{
		SCOPED_TRACE(c.op);
		Row(2025, c.op, "OLD");
		Rebuild(c.op);
		V expected = m_Untouched;
		expected.insert(expected.end(), c.rows.begin(), c.rows.end());
		expected.push_back("2025 rossi OLD 0");
		std::sort(expected.begin(), expected.end());
		EXPECT_EQ(Rows(), expected);
		EXPECT_TRUE(m_Ui.Messages().empty());
		DataStr op(c.op);
		m_pConn->ExecuteSQL("DELETE FROM Kvz_TmpRiclassificazioneTesta WHERE Operatore = ?", {&op});
	}
}

TEST_F(WorkCopy, DatabaseErrorsAreShownAndEndOnlyTheirStep)
{
	struct
	{
		const char* what;
		const char* trigger;
		V rossi;
	} cases[] = {
		// The old rows cannot go; the models are still added.
		{"deletion", "BEFORE DELETE ON Kvz_TmpRiclassificazioneTesta BEGIN SELECT RAISE(ABORT, 'bloccato'); END",
		 {"2025 rossi M1 1", "2025 rossi M2 0", "2025 rossi M3 1", "2025 rossi OLD 0"}},
		// The models open to all cannot be written; those assigned still are.
		{"models open to all",
		 "BEFORE INSERT ON Kvz_TmpRiclassificazioneTesta WHEN NEW.TuttiOperatori = 1 "
		 "BEGIN SELECT RAISE(ABORT, 'bloccato'); END",
		 {"2025 rossi M2 0", "2025 rossi M3 0"}},
	};
	// PostgreSQL writes its triggers otherwise: the same two, as a function that refuses.
	const char* const serverTriggers[] = {
		"BEFORE DELETE ON Kvz_TmpRiclassificazioneTesta FOR EACH ROW EXECUTE FUNCTION Rifiuta()",
		"BEFORE INSERT ON Kvz_TmpRiclassificazioneTesta FOR EACH ROW WHEN (NEW.TuttiOperatori = 1) "
		"EXECUTE FUNCTION Rifiuta()",
	};
	const bool server = m_pConn->IsServer();
	if (server)
		m_pConn->ExecuteSQL("CREATE FUNCTION Rifiuta() RETURNS trigger LANGUAGE plpgsql AS "
							"$$BEGIN RAISE EXCEPTION 'bloccato'; END$$");
	for (size_t i = 0; i < std::size(cases); ++i)
	{
		auto& c = cases[i];
		SCOPED_TRACE(c.what);
		m_pConn->ExecuteSQL(CString("CREATE TRIGGER Blocco ") + (server ? serverTriggers[i] : c.trigger));
		m_Ui.Clear();
		Rebuild();
		auto shown = m_Ui.Messages();
		ASSERT_EQ(shown.size(), 1u);
		EXPECT_NE(shown[0].text.Find("bloccato"), -1) << shown[0].text.GetString();
		EXPECT_EQ(shown[0].caption, "");
		EXPECT_TRUE(AfxGetApplicationContext()->GetAssertionReports().empty());  // a database error
		V expected = m_Untouched;
		expected.insert(expected.end(), c.rossi.begin(), c.rossi.end());
		EXPECT_EQ(Rows(), expected);

		m_pConn->ExecuteSQL(server ? "DROP TRIGGER Blocco ON Kvz_TmpRiclassificazioneTesta" : "DROP TRIGGER Blocco");
		m_pConn->ExecuteSQL("DELETE FROM Kvz_TmpRiclassificazioneTesta WHERE Operatore = 'rossi' AND Esercizio = 2025");
		Row(2025, "rossi", "OLD");
	}
}
