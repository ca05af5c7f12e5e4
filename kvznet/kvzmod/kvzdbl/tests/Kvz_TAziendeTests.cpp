#include "kvznet/kvzmod/kvzdbl/Kvz_TAziende.h"
#include "kvznet/kvzmod/kvzdbl/tests/KvzDblFixture.h"

namespace {
using Aziende = CompanyDb;

Kvz_TAziende Azienda(const char* code, const char* descr)
{
	Kvz_TAziende r;
	r.f_Azienda = code;
	r.f_Descrizione = descr;
	return r;
}
}  // namespace

TEST_F(Aziende, RecordCodeUpperCasePasswordAsTyped)
{
	Kvz_EnhAziende e;
	EXPECT_EQ(e.GetColumnCount(), 7);
	ASSERT_EQ(e.GetSize(), 8);
	EXPECT_EQ(e.GetItem(7)->m_strColumnName, "Sel");
	EXPECT_TRUE(AfxGetApplicationContext()->GetAssertionReports().empty());

	Kvz_TAziende r = Azienda("nord", "Filiale nord");
	r.f_UserID = "Operatore";
	r.f_Password = " Pa$$w0rd 'x' ";
	EXPECT_EQ(r.f_Azienda.GetString(), "NORD");
	InsertRow(r);

	Kvz_TRAziende reader;
	ASSERT_EQ(reader.FindRecord(DataStr("Nord")), TableReader::FOUND);
	EXPECT_EQ(reader.GetRecord()->f_Password.GetString(), " Pa$$w0rd 'x' ");
	EXPECT_EQ(reader.GetRecord()->f_UserID.GetString(), "Operatore");

	m_pConn->ExecuteSQL("DROP TABLE Kvz_Aziende");  // any query would now fail
	EXPECT_EQ(reader.FindRecord(DataStr("")), TableReader::NOT_FOUND);
}

TEST_F(Aziende, HotlinkListsEveryCompanyAndCustomizes)
{
	for (Kvz_TAziende r : {Azienda("SUD", "Filiale sud"), Azienda("NORD", "Sede"), Azienda("SEDE2", "Nord est")})
		InsertRow(r);
	Kvz_HKLAziende hkl;
	EXPECT_TRUE(hkl.Customize(DataObjArray()));
	EXPECT_TRUE(hkl.IsAddOnFlyEnabled());  // the framework's defaults
	EXPECT_FALSE(hkl.IsMustExistData());
	EXPECT_EQ(hkl.GetAddOnFlyNamespace(), "");

	auto codes = [&](int type, const char* pattern) {
		std::vector<CString> out;
		for (auto& r : hkl.Search(type, DataStr(pattern)))
			out.push_back(static_cast<Kvz_TAziende&>(*r).f_Azienda.GetString());
		return out;
	};
	using V = std::vector<CString>;
	EXPECT_EQ(codes(HotKeyLink::UPPER_BUTTON, "s"), (V{"SEDE2", "SUD"}));
	EXPECT_EQ(codes(HotKeyLink::LOWER_BUTTON, "nord"), (V{"SEDE2"}));  // the description, not the code
	EXPECT_EQ(codes(HotKeyLink::LOWER_BUTTON, ""), (V{"SUD", "SEDE2", "NORD"}));

	DataStr code("sud");
	ASSERT_TRUE(hkl.FindRecord(&code));
	EXPECT_EQ(hkl.GetDataObj(), &hkl.GetRecord()->f_Azienda);
	EXPECT_EQ(hkl.GetDescription(), "Filiale sud");
}
