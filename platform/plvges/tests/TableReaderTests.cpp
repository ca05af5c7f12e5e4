#include <gtest/gtest.h>

#include <functional>

#include "platform/plvgeneric/Interaction.h"
#include "platform/plvges/TableReader.h"
#include "platform/plvoledb/driver/Driver.h"
#include "platform/plvoledb/tests/TestBackend.h"
#include "platform/plvoledb/tests/TestRecords.h"

namespace {

const DataEnum kFattura(100, 1);

// The reader pattern: one parameter and one filter per key column, values from the members.
template <class Base>
class ContatoriQuery : public Base
{
public:
	explicit ContatoriQuery(CBaseDocument* pDocument = nullptr) : Base(RUNTIME_CLASS(TContatori), pDocument) {}

	DataInt m_Esercizio;
	DataEnum m_TipoCodice;
	DataStr m_Codice;
	int m_nPrepared = 0;

	TContatori& Rec() const { return *static_cast<TContatori*>(this->GetRecord()); }
	void SetKey(int esercizio, const char* codice)
	{
		m_Esercizio = esercizio;
		m_TipoCodice = kFattura;
		m_Codice = codice;
	}

protected:
	void OnDefineQuery() override
	{
		SqlTable& t = *this->m_pTable;
		t.SelectAll();
		t.AddParam("Esercizio", Rec().f_Esercizio);
		t.AddFilterColumn(Rec().f_Esercizio);
		t.AddParam("TipoCodice", Rec().f_TipoCodice);
		t.AddFilterColumn(Rec().f_TipoCodice);
		t.AddParam("Codice", Rec().f_Codice);
		t.AddFilterColumn(Rec().f_Codice);
	}
	void OnPrepareQuery() override
	{
		++m_nPrepared;
		this->m_pTable->SetParamValue("Esercizio", m_Esercizio);
		this->m_pTable->SetParamValue("TipoCodice", m_TipoCodice);
		this->m_pTable->SetParamValue("Codice", m_Codice);
	}
	BOOL IsEmptyQuery() override { return m_Esercizio.IsEmpty() || m_Codice.IsEmpty(); }
};

using ContatoriReader = ContatoriQuery<TableReader>;
using ContatoriUpdater = ContatoriQuery<TableUpdater>;

class TableReaderTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		KVZ_REQUIRE_BACKEND();
		m_pConn = SqlConnection::Open(m_Db.Target("azienda.db"), SqlConnection::CREATE_IF_MISSING);
		m_pPrevious = AfxSetDefaultSqlConnection(m_pConn.get());
		ASSERT_TRUE(m_pConn->RegisterCatalogEntry("", CPLVNamespace(), RUNTIME_CLASS(TContatori), 1));
		for (const char* codice : {"A1", "B2"})
			m_pConn->ExecuteSQL(CString::Formatted("INSERT INTO T_Contatori VALUES (2024, %u, '%s', 7, 1.5)",
												   static_cast<unsigned>(kFattura.GetValue()), codice));
	}
	void TearDown() override { AfxSetDefaultSqlConnection(m_pPrevious); }

	// Valore of the row, -1 when there is none.
	long Stored(const char* codice)
	{
		DataStr cod(codice);
		auto st = m_pConn->Db().Prepare("SELECT Valore FROM T_Contatori WHERE Esercizio = 2024 AND Codice = ?");
		st->Bind(1, cod.GetDataValue());
		return st->Step() ? static_cast<long>(std::get<std::int64_t>(st->Column(0))) : -1;
	}

	ScriptedInteraction m_Ui;
	InteractionScope m_UiScope{&m_Ui};
	TestBackend m_Db;
	std::unique_ptr<SqlConnection> m_pConn;
	SqlConnection* m_pPrevious = nullptr;
};

TEST_F(TableReaderTest, ReaderFindsByKeyAndEmptyKeyRunsNoQuery)
{
	CBaseDocument doc;
	ContatoriReader reader(&doc);
	struct Case
	{
		int esercizio;
		const char* codice;
		TableReader::FindResult result;
		long valore;
		bool queried;
	};
	const Case cases[] = {
		{2024, "a1", TableReader::FOUND, 7, true},
		{2024, "C3", TableReader::NOT_FOUND, 0, true},
		{2024, "B2", TableReader::FOUND, 7, true},
		{2024, "", TableReader::NOT_FOUND, 0, false},
		{0, "A1", TableReader::NOT_FOUND, 0, false},
		{2023, "A1", TableReader::NOT_FOUND, 0, true},
	};
	for (const Case& c : cases)
	{
		SCOPED_TRACE(::testing::Message() << c.esercizio << "/" << c.codice);
		reader.SetKey(c.esercizio, c.codice);
		reader.Rec().f_Valore = 99;  // left over from earlier use
		reader.Rec().l_Nota = "nota";
		int prepared = reader.m_nPrepared;
		EXPECT_EQ(reader.FindRecord(), c.result);
		EXPECT_EQ(reader.Rec().f_Valore.GetValue(), c.valore);
		EXPECT_EQ(reader.m_nPrepared - prepared, c.queried ? 1 : 0);
		if (c.result == TableReader::NOT_FOUND)
		{
			EXPECT_TRUE(reader.Rec().f_Codice.IsEmpty());
			EXPECT_TRUE(reader.Rec().l_Nota.IsEmpty());
		}
		else
			EXPECT_EQ(reader.Rec().f_Codice.GetString(), CString(c.codice).MakeUpper());
	}
}

TEST_F(TableReaderTest, UpdaterInsertsUpdatesAndDeletes)
{
	CBaseDocument doc;
	ContatoriUpdater updater(&doc);
	updater.SetKey(2024, "N1");
	updater.Rec().f_Valore = 99;
	ASSERT_EQ(updater.FindRecord(FALSE), TableReader::NOT_FOUND);
	EXPECT_EQ(updater.Rec().f_Valore.GetValue(), 0);  // a new record, ready for insert
	updater.Rec().f_Esercizio = 2024;
	updater.Rec().f_TipoCodice = kFattura;
	updater.Rec().f_Codice = "N1";
	updater.Rec().f_Valore = 1;
	ASSERT_TRUE(updater.UpdateRecord());
	EXPECT_EQ(Stored("N1"), 1);

	ASSERT_EQ(updater.FindRecord(FALSE), TableReader::FOUND);
	EXPECT_EQ(updater.Rec().f_Valore.GetValue(), 1);
	updater.Rec().f_Valore = 2;
	ASSERT_TRUE(updater.UpdateRecord());
	EXPECT_EQ(Stored("N1"), 2);
	EXPECT_FALSE(updater.UpdateRecord());  // written already: find it again first

	ASSERT_EQ(updater.FindRecord(FALSE), TableReader::FOUND);
	ASSERT_TRUE(updater.DeleteRecord());
	EXPECT_EQ(Stored("N1"), -1);
	EXPECT_EQ(Stored("A1"), 7);
	ASSERT_EQ(updater.FindRecord(FALSE), TableReader::NOT_FOUND);
	EXPECT_FALSE(updater.DeleteRecord());  // nothing found to delete

	// An emptied key after a find leaves nothing to write over the row found before.
	updater.SetKey(2024, "A1");
	ASSERT_EQ(updater.FindRecord(FALSE), TableReader::FOUND);
	updater.SetKey(2024, "");
	EXPECT_EQ(updater.FindRecord(FALSE), TableReader::NOT_FOUND);
	EXPECT_TRUE(updater.Rec().f_Codice.IsEmpty());
	EXPECT_FALSE(updater.UpdateRecord());
	EXPECT_FALSE(updater.DeleteRecord());
	EXPECT_EQ(Stored("A1"), 7);
	EXPECT_EQ(Stored(""), -1);
}

TEST_F(TableReaderTest, UpdaterOfAnotherDocumentFindsTheRowLocked)
{
	CBaseDocument first, second;
	ContatoriUpdater mine(&first), theirs(&second);
	ContatoriReader reader(&second);
	mine.SetKey(2024, "A1");
	theirs.SetKey(2024, "A1");
	reader.SetKey(2024, "A1");

	ASSERT_TRUE(first.GetContext()->StartTransaction());
	ASSERT_EQ(mine.FindRecord(TRUE), TableReader::FOUND);
	EXPECT_EQ(mine.FindRecord(TRUE), TableReader::FOUND);  // its own lock again
	mine.Rec().f_Valore = 8;
	ASSERT_TRUE(mine.UpdateRecord());
	EXPECT_EQ(theirs.FindRecord(TRUE), TableReader::LOCKED);
	theirs.Rec().f_Valore = 9;
	EXPECT_FALSE(theirs.UpdateRecord());  // a locked row is not written
	EXPECT_FALSE(theirs.DeleteRecord());
	// Not committed yet: the connection's other sessions see it, as on SQLite, where they share
	// the transaction's session; on a server too, the first transaction taking the connection's own.
	EXPECT_EQ(Stored("A1"), 8);
	EXPECT_EQ(reader.FindRecord(), TableReader::FOUND);  // reading needs no lock
	theirs.SetKey(2024, "B2");
	EXPECT_EQ(theirs.FindRecord(TRUE), TableReader::FOUND);  // other rows are free
	theirs.SetKey(2024, "A1");
	EXPECT_EQ(theirs.FindRecord(FALSE), TableReader::FOUND);  // not asking for the lock

	ASSERT_TRUE(first.GetContext()->Commit());  // the transaction's end releases the lock
	ASSERT_EQ(theirs.FindRecord(TRUE), TableReader::FOUND);
	EXPECT_EQ(theirs.Rec().f_Valore.GetValue(), 8);
	EXPECT_EQ(mine.FindRecord(TRUE), TableReader::LOCKED);
	theirs.Free();  // so does letting go of the updater
	EXPECT_EQ(mine.FindRecord(TRUE), TableReader::FOUND);
}

// Inside a document transaction a write that breaks the key fails on its own: the rows written
// before and after it are committed, on either backend.
TEST_F(TableReaderTest, FailingWriteInsideATransactionLeavesTheRestToCommit)
{
	auto insert = [](SqlSession* pSession, const char* codice) {
		TContatori rec;
		SqlTable t(&rec, pSession);
		t.Open(TRUE);
		t.AddNew();
		rec.f_Esercizio = 2024;
		rec.f_TipoCodice = kFattura;
		rec.f_Codice = codice;
		rec.f_Valore = 1;
		t.Update();
	};
	struct Case
	{
		const char* name;
		std::function<void(CBaseDocument&)> fail;
	};
	const Case cases[] = {
		{"cursor", [&](CBaseDocument& doc) { insert(doc.GetUpdatableSqlSession(), "A1"); }},
		{"ExecuteSQL",
		 [](CBaseDocument& doc) {
			 doc.GetUpdatableSqlSession()->ExecuteSQL("INSERT INTO T_Contatori (Esercizio, TipoCodice, Codice) "
													  "VALUES (2024, ?, 'B2')",
													  {&kFattura});
		 }},
		{"updater",
		 [](CBaseDocument& doc) {
			 ContatoriUpdater upd(&doc);
			 upd.SetKey(2024, "A1");
			 ASSERT_EQ(upd.FindRecord(FALSE), TableReader::FOUND);
			 upd.Rec().f_Codice = "B2";
			 upd.Rec().f_Valore = 8;
			 upd.UpdateRecord();
		 }},
		{"query", [](CBaseDocument& doc) { doc.GetUpdatableSqlSession()->ExecuteSQL("SELECT * FROM T_Manca"); }},
	};
	for (const Case& c : cases)
	{
		SCOPED_TRACE(c.name);
		m_pConn->ExecuteSQL("DELETE FROM T_Contatori WHERE Codice LIKE 'P%'");
		CBaseDocument doc;
		ASSERT_TRUE(doc.GetContext()->StartTransaction());
		insert(doc.GetUpdatableSqlSession(), "P1");
		EXPECT_THROW(c.fail(doc), SqlException);
		insert(doc.GetUpdatableSqlSession(), "P2");
		EXPECT_TRUE(doc.GetContext()->Commit());
		EXPECT_EQ(Stored("P1"), 1);
		EXPECT_EQ(Stored("P2"), 1);
		EXPECT_EQ(Stored("A1"), 7);
		EXPECT_EQ(Stored("B2"), 7);
	}
}

}  // namespace
