#include "kvznet/kvzmod/kvzcomponents/tests/CountersFixture.h"

namespace {
using Counters = CompanyDb;

void PresetNumber(int year, WORD item, long last)
{
	Kvz_TNumDocumenti r;
	r.f_Anno = year;
	r.f_TipoDoc = TipoDoc(item);
	r.f_DataUltDoc = DataDate(1, 1, year);
	r.f_UltNrDoc = last;
	InsertRow(r);
}

void PresetId(WORD item, long last)
{
	Kvz_TIDDocumenti r;
	r.f_SpecieArchivio = Specie(item);
	r.f_UltimoID = last;
	InsertRow(r);
}

std::vector<AssertionReport> Reports()
{
	return AfxGetApplicationContext()->GetAssertionReports();
}
}  // namespace

TEST_F(Counters, IdentifiersStartAtOneAndRunPerKind)
{
	CBaseDocument plain;
	FormDoc form;
	struct Owner
	{
		const char* what;
		CBaseDocument* doc;
		WORD kind;
	} owners[] = {{"document", &plain, 0}, {"form document", &form, 2}};
	for (auto& o : owners)
	{
		SCOPED_TRACE(o.what);
		IdProbe m(Specie(o.kind), o.doc);
		for (long expected : {1L, 2L})
		{
			DataLng id;
			ASSERT_TRUE(m.GetNextID(id));
			EXPECT_EQ(long(id), expected);
			// Each call leaves no lock behind and the table closed.
			EXPECT_EQ(m.Locks(), 0);
			EXPECT_FALSE(m.IsTableOpen());
		}
		EXPECT_EQ(UltimoID(*m_pConn, o.kind), 2L);
	}
	Kvz_IDManager again(Specie(0), &plain);
	DataLng id;
	ASSERT_TRUE(again.GetNextID(id));
	EXPECT_EQ(long(id), 3L);
	EXPECT_FALSE(UltimoID(*m_pConn, 3).has_value());
	EXPECT_TRUE(Reports().empty());
	EXPECT_TRUE(form.GetMessages()->IsEmpty());
}

TEST_F(Counters, IdentifierWithoutOwnerDocumentFailsAndWritesNothing)
{
	Kvz_IDManager m(Specie(2), nullptr);
	DataLng id = 99L;
	EXPECT_FALSE(m.GetNextID(id));
	EXPECT_EQ(long(id), 99L);
	auto reports = Reports();
	ASSERT_EQ(reports.size(), 1u);
	EXPECT_EQ(reports[0].condition, "0");
	EXPECT_EQ(reports[0].method, "Kvz_CounterManagerObj::ReadNextCounter");
	EXPECT_EQ(reports[0].file, "GestIds");
	EXPECT_FALSE(Scalar(*m_pConn, "SELECT 1 FROM Kvz_IDDocumenti").has_value());
}

TEST_F(Counters, WrongTagIsReportedAndUsedAllTheSame)
{
	CBaseDocument doc;
	Kvz_IDManager ids(DataEnum(E_KVZ_TIPODOCUMENTO, 2), &doc);
	Kvz_NumNonFiscManager nums(DataEnum(E_KVZ_SPECIEARCHIVIO, 0), &doc);
	auto reports = Reports();
	ASSERT_EQ(reports.size(), 2u);
	EXPECT_EQ(reports[0].condition, "aSpecieArchivio.GetTagValue() == E_KVZ_SPECIEARCHIVIO");
	EXPECT_EQ(reports[1].condition, "aTipoDoc.GetTagValue() == E_KVZ_TIPODOCUMENTO");
	DataLng id;
	ASSERT_TRUE(ids.GetNextID(id));
	EXPECT_EQ(Scalar(*m_pConn, "SELECT SpecieArchivio FROM Kvz_IDDocumenti"),
			  plv::db::Value(int64_t(DataEnum(E_KVZ_TIPODOCUMENTO, 2).GetValue())));
}

TEST_F(Counters, NumbersPerYearAndTypePaddedNeverCut)
{
	PresetNumber(2020, 0, 41);
	PresetNumber(2022, 0, 41);
	PresetNumber(2023, 0, 12344);
	struct Case
	{
		const char* what;
		int year;
		WORD type;
		int len;
		const char* expected;
	} cases[] = {
		{"default length", 2020, 0, 8, "00000042"},
		{"a new type starts its own row", 2020, 1, 8, "00000001"},
		{"a new year starts its own row", 2021, 0, 8, "00000001"},
		{"length 0: no padding", 2022, 0, 0, "42"},
		{"wider than the length: in full", 2023, 0, 3, "12345"},
	};
	CBaseDocument doc;
	for (auto& c : cases)
	{
		SCOPED_TRACE(c.what);
		Kvz_NumNonFiscManager m(TipoDoc(c.type), &doc, c.len);
		EXPECT_EQ(m.GetLenNumero(), c.len);
		DataStr n;
		ASSERT_TRUE(m.OttieniProssimoNumero(DataDate(5, 6, c.year), n));
		EXPECT_EQ(n.GetString(), c.expected);
		auto row = UltNrDoc(*m_pConn, c.year, c.type);
		ASSERT_TRUE(row);
		EXPECT_EQ(row->last, std::atol(c.expected));
		EXPECT_EQ(row->date, CString::Formatted("%04d-06-05", c.year).str());
	}
	Kvz_NumNonFiscManager byDefault;
	EXPECT_EQ(byDefault.GetCtrlLen(), 8);
	EXPECT_EQ(byDefault.GetPrefix(DataInt(2025)), "");
}

TEST_F(Counters, EmptyDateTakesTheApplicationDate)
{
	AfxSetApplicationDate(DataDate(15, 3, 2031));
	Kvz_NumNonFiscManager m;  // no document: taking a number needs no lock
	DataStr n;
	ASSERT_TRUE(m.OttieniProssimoNumero(DataDate(), n));
	EXPECT_EQ(n.GetString(), "00000001");
	auto row = UltNrDoc(*m_pConn, 2031, 0);
	ASSERT_TRUE(row);
	EXPECT_EQ(row->date, "2031-03-15");
}

TEST_F(Counters, ReadingTheNextNumberWritesNothing)
{
	FormDoc doc;
	NumProbe m(TipoDoc(0), &doc);
	DataStr n;
	for (BOOL lock : {FALSE, TRUE})
	{
		ASSERT_TRUE(m.LeggiProssimoNumero(DataDate(1, 2, 2025), n, lock));
		EXPECT_EQ(n.GetString(), "00000001");
		EXPECT_FALSE(UltNrDoc(*m_pConn, 2025, 0));
		EXPECT_EQ(m.Locks(), 0);  // a missing row takes no lock
	}
	PresetNumber(2026, 0, 5);
	ASSERT_TRUE(m.LeggiProssimoNumero(DataDate(1, 2, 2026), n, FALSE));
	EXPECT_EQ(n.GetString(), "00000006");
	EXPECT_EQ(Last(UltNrDoc(*m_pConn, 2026, 0)), 5L);
	ASSERT_TRUE(m.OttieniProssimoNumero(DataDate(1, 2, 2026), n));
	EXPECT_EQ(n.GetString(), "00000006");

	m.SetTipoDoc(TipoDoc(0), 4);  // loads the row of the type and year in force
	EXPECT_EQ(m.GetCtrlLen(), 4);
	EXPECT_EQ(long(m.GetNNF()->f_UltNrDoc), 6L);
	m.SetTipoDoc(TipoDoc(1), -1);
	EXPECT_EQ(m.GetCtrlLen(), 4);
	EXPECT_EQ(long(m.GetNNF()->f_UltNrDoc), 0L);
	EXPECT_FALSE(m.IsTableOpen());
}

TEST_F(Counters, GivingBackOnlyTheLastNumber)
{
	FormDoc docA, docB;
	NumProbe a(TipoDoc(0), &docA), b(TipoDoc(0), &docB);
	DataStr n;
	const DataDate day(1, 3, 2025);
	ASSERT_TRUE(a.OttieniProssimoNumero(day, n));
	ASSERT_TRUE(b.OttieniProssimoNumero(day, n));
	EXPECT_TRUE(a.SetPrevCounter());  // another number was taken since: kept
	EXPECT_EQ(Last(UltNrDoc(*m_pConn, 2025, 0)), 2L);
	EXPECT_TRUE(b.SetPrevCounter());
	EXPECT_EQ(Last(UltNrDoc(*m_pConn, 2025, 0)), 1L);
	EXPECT_EQ(b.Locks(), 0);
	EXPECT_FALSE(b.IsTableOpen());
	ASSERT_TRUE(b.OttieniProssimoNumero(day, n));
	EXPECT_EQ(n.GetString(), "00000002");

	IdProbe ids(Specie(0), &docA);
	DataLng id;
	ASSERT_TRUE(ids.GetNextID(id));
	EXPECT_TRUE(ids.SetPrevCounter());  // identifiers are never given back
	EXPECT_EQ(UltimoID(*m_pConn, 0), 1L);
}

TEST_F(Counters, LockCountOfFormDocuments)
{
	PresetId(2, 10);
	FormDoc form, otherForm;
	CBaseDocument plain;
	IdProbe m(Specie(2), &form);
	Kvz_IDManager other(Specie(2), &otherForm);
	DataLng id;

	ASSERT_TRUE(m.ReadNextCounter(TRUE, FALSE));
	EXPECT_EQ(m.Locks(), 1);
	EXPECT_TRUE(m.IsTableOpen());
	EXPECT_FALSE(other.GetNextID(id));  // the row is held: refused, nothing written, no message
	EXPECT_EQ(UltimoID(*m_pConn, 2), 10L);
	EXPECT_TRUE(otherForm.GetMessages()->IsEmpty());

	ASSERT_TRUE(m.GetNextCounter());  // writes, releases the row and closes the table
	EXPECT_EQ(m.Locks(), 0);
	EXPECT_FALSE(m.IsTableOpen());
	ASSERT_TRUE(m.GetNextCounter());
	EXPECT_EQ(m.Locks(), 0);  // never below zero
	ASSERT_TRUE(other.GetNextID(id));
	EXPECT_EQ(long(id), 13L);

	// Another kind of document: the lock is not counted and ends with the table, at once.
	IdProbe p(Specie(2), &plain);
	ASSERT_TRUE(p.ReadNextCounter(TRUE, TRUE));
	EXPECT_EQ(p.Locks(), 0);
	EXPECT_FALSE(p.IsTableOpen());
	ASSERT_TRUE(other.GetNextID(id));
	EXPECT_EQ(long(id), 14L);
}

TEST_F(Counters, FailuresReachTheFormDocumentMessages)
{
	PresetId(2, 10);
	FormDoc form;
	IdProbe m(Specie(2), &form);
	ASSERT_TRUE(m.ReadNextCounter(TRUE, FALSE));
	m_pConn->ExecuteSQL("DROP TABLE Kvz_IDDocumenti");
	EXPECT_FALSE(m.GetNextCounter());
	EXPECT_EQ(m.Locks(), 1);  // left as it was
	EXPECT_FALSE(m.IsTableOpen());
	auto msgs = form.GetMessages()->GetMessages();
	ASSERT_EQ(msgs.size(), 2u);
	EXPECT_EQ(msgs[0].text, "Errore aggiornando gli identificatori univoci di documento");
	EXPECT_NE(msgs[1].text.Find("Kvz_IDDocumenti"), -1) << msgs[1].text.GetString();
	EXPECT_EQ(msgs[0].type, 16);
	EXPECT_EQ(msgs[1].type, 16);

	// Reading adds only the error's own text.
	form.GetMessages()->Clear();
	DataLng id = 7L;
	EXPECT_FALSE(m.GetNextID(id));
	EXPECT_EQ(long(id), 7L);
	msgs = form.GetMessages()->GetMessages();
	ASSERT_EQ(msgs.size(), 1u);
	EXPECT_NE(msgs[0].text.Find("Kvz_IDDocumenti"), -1);

	// Other owners learn it from the result only.
	CBaseDocument plain;
	Kvz_NumNonFiscManager n(TipoDoc(0), &plain);
	m_pConn->ExecuteSQL("DROP TABLE Kvz_NumDocumenti");
	DataStr number = "x";
	EXPECT_FALSE(n.OttieniProssimoNumero(DataDate(1, 1, 2025), number));
	EXPECT_EQ(number.GetString(), "x");
	EXPECT_TRUE(plain.GetMessages()->IsEmpty());
	EXPECT_TRUE(Reports().empty());  // SQL errors are expected ones
}

// A write that fails while a form's lock is counted, then a plain read: the next number is
// taken all the same, not refused by a cursor the read left open for reading only.
TEST_F(Counters, NextNumberAfterAFailedWriteAndAPlainRead)
{
	PresetNumber(2025, 0, 41);
	FormDoc form;
	NumProbe m(TipoDoc(0), &form, 8);
	const DataDate date(5, 6, 2025);
	DataStr n;
	ASSERT_TRUE(m.LeggiProssimoNumero(date, n, TRUE));
	EXPECT_EQ(m.Locks(), 1);
	m_pConn->ExecuteSQL("ALTER TABLE Kvz_NumDocumenti RENAME TO Kvz_NumDocumentiAltrove");
	EXPECT_FALSE(m.OttieniProssimoNumero(date, n));
	m_pConn->ExecuteSQL("ALTER TABLE Kvz_NumDocumentiAltrove RENAME TO Kvz_NumDocumenti");
	EXPECT_EQ(m.Locks(), 1);

	ASSERT_TRUE(m.LeggiProssimoNumero(date, n, FALSE));
	EXPECT_EQ(n.GetString(), "00000042");
	form.GetMessages()->Clear();
	ASSERT_TRUE(m.OttieniProssimoNumero(date, n)) << (form.GetMessages()->IsEmpty() ? CString()
																	 : form.GetMessages()->GetMessages()[0].text)
																		.GetString();
	EXPECT_EQ(n.GetString(), "00000042");
	EXPECT_EQ(Last(UltNrDoc(*m_pConn, 2025, 0)), 42L);
}

// On the embedded database a value taken inside a document transaction belongs to it; taken
// outside one it is committed at once. On a server it is committed at once in any case, and a
// value taken in a transaction that rolls back is never taken again.
TEST_F(Counters, ValuesFollowTheDocumentTransaction)
{
	const bool server = m_pConn->IsServer();
	auto reader = SqlConnection::Open(Target("azienda.db"));
	CBaseDocument doc;
	Kvz_IDManager ids(Specie(0), &doc);
	Kvz_NumNonFiscManager nums(TipoDoc(0), &doc);
	DataLng id;
	DataStr n;
	const DataDate day(2, 1, 2025);

	ASSERT_TRUE(ids.GetNextID(id));
	EXPECT_EQ(UltimoID(*reader, 0), 1L);

	ASSERT_TRUE(doc.GetContext()->StartTransaction());
	ASSERT_TRUE(ids.GetNextID(id));
	EXPECT_EQ(long(id), 2L);
	ASSERT_TRUE(nums.OttieniProssimoNumero(day, n));
	EXPECT_EQ(UltimoID(*reader, 0), server ? 2L : 1L);  // committed on a server only
	doc.GetContext()->Rollback();
	EXPECT_EQ(UltimoID(*m_pConn, 0), server ? 2L : 1L);
	EXPECT_EQ(bool(UltNrDoc(*m_pConn, 2025, 0)), server);

	ASSERT_TRUE(doc.GetContext()->StartTransaction());
	ASSERT_TRUE(ids.GetNextID(id));
	EXPECT_EQ(long(id), server ? 3L : 2L);  // on SQLite 2 was never committed
	ASSERT_TRUE(nums.OttieniProssimoNumero(day, n));
	EXPECT_EQ(n.GetString(), server ? "00000002" : "00000001");
	ASSERT_TRUE(doc.GetContext()->Commit());
	EXPECT_EQ(UltimoID(*reader, 0), server ? 3L : 2L);
	EXPECT_EQ(Last(UltNrDoc(*reader, 2025, 0)), server ? 2L : 1L);
}

// Many values in one step end where as many single steps end: the row holds the last value
// handed out, the next single step follows on, and the last number can still be given back.
TEST_F(Counters, ManyValuesInOneStepLeaveTheStateOfSingleSteps)
{
	PresetId(0, 10);
	PresetNumber(2025, 0, 41);
	FormDoc doc;
	IdProbe ids(Specie(0), &doc);
	NumProbe nums(TipoDoc(0), &doc, 6);
	const DataDate day(3, 5, 2025);
	struct Case
	{
		long n;
		long firstId, lastId;  // expected; 0: nothing taken
		long firstNumber, lastNumber;
	} cases[] = {
		{3, 11, 13, 42, 44},
		{1, 14, 14, 45, 45},
		{0, 0, 14, 0, 45},  // none asked, none taken
		{-2, 0, 14, 0, 45},
	};
	for (const Case& c : cases)
	{
		SCOPED_TRACE(c.n);
		DataLng first(-1);
		long nPrimo = -1;
		ASSERT_TRUE(ids.GetNextIDs(c.n, first));
		ASSERT_TRUE(nums.OttieniProssimiNumeri(day, c.n, nPrimo));
		EXPECT_EQ(long(first), c.firstId ? c.firstId : -1L);
		EXPECT_EQ(nPrimo, c.firstNumber ? c.firstNumber : -1L);
		EXPECT_EQ(UltimoID(*m_pConn, 0), c.lastId);
		EXPECT_EQ(Last(UltNrDoc(*m_pConn, 2025, 0)), c.lastNumber);
		EXPECT_EQ(ids.Locks(), 0);
		EXPECT_FALSE(ids.IsTableOpen());
		EXPECT_FALSE(nums.IsTableOpen());
	}
	EXPECT_EQ(nums.Numero(DataInt(2025), 42), "000042");
	DataLng id;
	DataStr n;
	ASSERT_TRUE(ids.GetNextID(id));
	EXPECT_EQ(long(id), 15L);
	ASSERT_TRUE(nums.LeggiProssimoNumero(day, n, FALSE));
	EXPECT_EQ(n.GetString(), "000046");
	// After many at once the last of them is the one given back.
	long nPrimo = 0;
	ASSERT_TRUE(nums.OttieniProssimiNumeri(day, 4, nPrimo));
	EXPECT_EQ(nPrimo, 46L);
	ASSERT_TRUE(nums.SetPrevCounter());
	EXPECT_EQ(Last(UltNrDoc(*m_pConn, 2025, 0)), 48L);
	// A year without a row starts it at 1.
	ASSERT_TRUE(nums.OttieniProssimiNumeri(DataDate(1, 1, 2030), 2, nPrimo));
	EXPECT_EQ(nPrimo, 1L);
	EXPECT_EQ(Last(UltNrDoc(*m_pConn, 2030, 0)), 2L);
	EXPECT_TRUE(Reports().empty());
}

// A batch's base plans numbered from values taken at once, then one at a time past them.
TEST_F(Counters, BasePlansNumberedFromValuesTakenAtOnce)
{
	FormDoc doc;
	Kvz_IDManager ids(Specie(0), &doc);
	Kvz_NumNonFiscManager nums(TipoDoc(0), &doc);
	Kvz_NumeriPianoBase numeri(ids, nums);
	const DataDate day(3, 5, 2025);
	ASSERT_TRUE(numeri.Prenota(2, day));
	EXPECT_EQ(UltimoID(*m_pConn, 0), 2L);
	std::vector<std::pair<long, std::string>> taken;
	for (int i = 0; i < 3; ++i)
	{
		Kvz_TPianoBaseTesta testa;
		ASSERT_TRUE(numeri.Numera(testa, day));
		taken.emplace_back(long(testa.f_IDPianoBase), testa.f_CodPianoBase.GetString().str());
		EXPECT_EQ(testa.f_DataCreazione, day);
	}
	const std::vector<std::pair<long, std::string>> expected = {{1, "00000001"}, {2, "00000002"}, {3, "00000003"}};
	EXPECT_EQ(taken, expected);
	EXPECT_EQ(UltimoID(*m_pConn, 0), 3L);
	EXPECT_EQ(Last(UltNrDoc(*m_pConn, 2025, 0)), 3L);
	EXPECT_EQ(numeri.Rimasti(), 0L);
}
