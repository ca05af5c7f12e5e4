#include "kvznet/kvzmod/kvzdbl/Kvz_TParametri.h"
#include "kvznet/kvzmod/kvzdbl/tests/KvzDblFixture.h"

namespace {
using Parametri = CompanyDb;

Kvz_TParametri Riga(long id, int lenMastro)
{
	Kvz_TParametri r;
	r.f_IDParam = id;
	r.f_LenMastro = lenMastro;
	return r;
}
}  // namespace

TEST_F(Parametri, RecordShape)
{
	for (BOOL bCallInit : {TRUE, FALSE})
	{
		Kvz_TParametri r(bCallInit);
		EXPECT_EQ(r.GetColumnCount(), 25);
		EXPECT_EQ(r.GetSize(), 25);  // no local fields
		EXPECT_TRUE(r.f_DataUltimaImportazSaldi.IsFullDate());
		EXPECT_EQ(r.f_BaseDiLettura.GetValue(), 0x27390000u);
		EXPECT_EQ(r.f_PagamentoIVA.GetValue(), 0x273A0000u);
	}
	Kvz_TParametri r;
	EXPECT_EQ(r.GetItem(19)->m_strColumnName, "DataUltimaImportazSaldi");
	EXPECT_EQ(r.GetItem(24)->m_strColumnName, "DNI_AggiungiCdcCommAuto");
	for (int i = 0; i < r.GetSize(); ++i)
	{
		if (auto* s = dynamic_cast<DataStr*>(r.GetDataObjAt(i)))
		{
			EXPECT_FALSE(s->IsUpperCase()) << r.GetItem(i)->m_strColumnName.GetString();
		}
	}
	EXPECT_EQ(r.GetPrimaryKey(), (std::vector<CString>{"IDParam"}));
}

TEST_F(Parametri, OnlyRowOneIsEverFound)
{
	Kvz_TParametri other = Riga(2, 9);
	InsertRow(other);
	Kvz_TRParametri reader;
	Kvz_TUParametri upd;
	EXPECT_EQ(reader.FindRecord(), TableReader::NOT_FOUND);
	EXPECT_EQ(upd.FindRecord(FALSE), TableReader::NOT_FOUND);
	upd.Free();

	Kvz_TParametri one = Riga(1, 3);
	InsertRow(one);
	ASSERT_EQ(reader.FindRecord(), TableReader::FOUND);
	EXPECT_EQ(reader.GetRecord()->f_IDParam, 1);
	EXPECT_EQ(reader.GetRecord()->f_LenMastro, 3);
}

TEST_F(Parametri, ReaderQueriesOnEveryCallAndKeepsTheTimeOfDay)
{
	Kvz_TParametri one = Riga(1, 3);
	InsertRow(one);
	Kvz_TRParametri reader;
	ASSERT_EQ(reader.FindRecord(), TableReader::FOUND);
	EXPECT_TRUE(reader.GetRecord()->f_DataUltimaImportazSaldi.IsEmpty());

	// Another workstation writes the row between two reads.
	CBaseDocument doc;
	Kvz_TUParametri upd(&doc);
	ASSERT_EQ(upd.FindRecord(TRUE), TableReader::FOUND);
	upd.GetRecord()->f_LenMastro = 4;
	upd.GetRecord()->f_DataUltimaImportazSaldi = DataDate(15, 3, 2025, 17, 42, 9);
	ASSERT_TRUE(upd.UpdateRecord());
	upd.Free();

	ASSERT_EQ(reader.FindRecord(), TableReader::FOUND);
	const Kvz_TParametri& r = *reader.GetRecord();
	EXPECT_EQ(r.f_LenMastro, 4);
	EXPECT_EQ(r.f_DataUltimaImportazSaldi, DataDate(15, 3, 2025, 17, 42, 9));
	EXPECT_EQ(r.f_DataUltimaImportazSaldi.Hour(), 17);
	EXPECT_EQ(r.f_DataUltimaImportazSaldi.Second(), 9);
}
