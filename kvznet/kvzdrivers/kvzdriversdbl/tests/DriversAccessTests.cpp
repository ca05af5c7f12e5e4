#include <algorithm>

#include "kvznet/kvzdrivers/kvzdriversdbl/KvzDriversDblTables.h"
#include "kvznet/kvzdrivers/kvzdriversdbl/tests/DriversDbFixture.h"

namespace {
using DriversAccess = DriversDb;
using V = std::vector<CString>;

// A lookup whose last query can be read back.
template <class H>
class Probe : public H
{
public:
	CString Sql() const { return this->m_pTable->GetSelectSql(); }
	V Codes(int type, const char* pattern)
	{
		V out;
		for (auto& r : this->Search(type, DataStr(pattern)))
		{
			this->GetRecord()->SqlRecord::operator=(*r);
			out.push_back(this->GetDataObj()->FormatData());
		}
		return out;
	}
};

V Sorted(V v)
{
	std::sort(v.begin(), v.end());
	return v;
}

void Driver(int year, const char* code, const char* descr)
{
	TKvzDriversTesta r;
	r.f_Esercizio = year;
	r.f_ModelloDrivers = code;
	r.f_Descrizione = descr;
	InsertRow(r);
}
}  // namespace

TEST_F(DriversAccess, IncrementsReaderFindsByKeyWithCompanyAsTyped)
{
	TKvzDriversIncrementi r;
	r.f_Esercizio = 2024;
	r.f_ModelloDrivers = "DRV";
	r.f_Ditta = "Filiale Nord";
	r.f_ModelloRiclassificInter = "CE";
	r.f_CodRiclassificCosto = "AFFITTI";
	r.f_Incr[0] = 10;
	InsertRow(r);

	Kvz_TRDriversIncrementi reader;
	// The company in another case still matches; it reads back as typed.
	ASSERT_EQ(reader.FindRecord(DataInt(2024), DataStr("FILIALE NORD"), DataStr("drv"), DataStr("ce"),
								DataStr("affitti")),
			  TableReader::FOUND);
	EXPECT_EQ(reader.GetRecord()->f_Ditta.GetString(), "Filiale Nord");
	EXPECT_DOUBLE_EQ(reader.GetRecord()->f_Incr[0].GetValue(), 10);
	EXPECT_EQ(reader.FindRecord(DataInt(2025), DataStr("Filiale Nord"), DataStr("DRV"), DataStr("CE"),
								DataStr("AFFITTI")),
			  TableReader::NOT_FOUND);

	// No target model or no cost code: no query at all, whatever the rest.
	m_pConn->ExecuteSQL("DROP TABLE KvzDriversIncrementi");  // a query would now fail
	struct Case
	{
		const char* model;
		const char* cost;
	};
	for (Case c : {Case{"", "AFFITTI"}, Case{"CE", ""}, Case{"", ""}})
		EXPECT_EQ(reader.FindRecord(DataInt(2024), DataStr("Filiale Nord"), DataStr("DRV"), DataStr(c.model),
									DataStr(c.cost)),
				  TableReader::NOT_FOUND)
			<< c.model << "/" << c.cost;
	EXPECT_TRUE(AfxGetApplicationContext()->GetAssertionReports().empty());
}

TEST_F(DriversAccess, WorkingTableUpdatersInsertFindAndRefuseEmptyKeys)
{
	Kvz_TUDriversTempModelli models;
	ASSERT_EQ(models.FindRecord(DataInt(2024), DataStr("nord"), DataStr("drv"), DataStr("ce"), TRUE),
			  TableReader::NOT_FOUND);
	TKvzDriversTempModelli* m = models.GetRecord();
	m->f_Esercizio = 2024;
	m->f_Ditta = "nord";
	m->f_ModelloDrivers = "drv";
	m->f_ModelloRiclassific = "ce";
	m->f_Descrizione = "Conto economico";
	ASSERT_TRUE(models.UpdateRecord());
	ASSERT_EQ(models.FindRecord(DataInt(2024), DataStr("NORD"), DataStr("DRV"), DataStr("CE"), FALSE),
			  TableReader::FOUND);
	EXPECT_EQ(models.GetRecord()->f_Descrizione.GetString(), "Conto economico");

	Kvz_TUDriversTempCosti costs;
	ASSERT_EQ(costs.FindRecord(DataInt(2024), DataStr("DRV"), DataStr("c1"), TRUE), TableReader::NOT_FOUND);
	costs.GetRecord()->f_Esercizio = 2024;
	costs.GetRecord()->f_ModelloDrivers = "DRV";
	costs.GetRecord()->f_CodRiclassificCosto = "c1";
	ASSERT_TRUE(costs.UpdateRecord());
	EXPECT_EQ(costs.FindRecord(DataInt(2024), DataStr("DRV"), DataStr("C1"), FALSE), TableReader::FOUND);

	Kvz_TUDriversModelli targets;
	ASSERT_EQ(targets.FindRecord(DataInt(2024), DataStr("NORD"), DataStr("DRV"), DataStr("CE"), TRUE),
			  TableReader::NOT_FOUND);
	targets.GetRecord()->f_Esercizio = 2024;
	targets.GetRecord()->f_Ditta = "NORD";
	targets.GetRecord()->f_ModelloDrivers = "DRV";
	targets.GetRecord()->f_ModelloRiclassific = "CE";
	targets.GetRecord()->f_Perc[5] = 25;
	ASSERT_TRUE(targets.UpdateRecord());
	ASSERT_EQ(targets.FindRecord(DataInt(2024), DataStr("NORD"), DataStr("DRV"), DataStr("CE"), FALSE),
			  TableReader::FOUND);
	EXPECT_DOUBLE_EQ(targets.GetRecord()->f_Perc[5].GetValue(), 25);
	models.UnlockAll();
	costs.UnlockAll();
	targets.UnlockAll();

	// An empty model or cost code is no query, whatever the rest.
	for (const char* t : {"KvzDriversTempModelli", "KvzDriversTempCosti", "KvzDriversModelli"})
		m_pConn->ExecuteSQL(CString("DROP TABLE ") + t);
	EXPECT_EQ(models.FindRecord(DataInt(2024), DataStr("NORD"), DataStr("DRV"), DataStr(""), FALSE),
			  TableReader::NOT_FOUND);
	EXPECT_EQ(targets.FindRecord(DataInt(2024), DataStr("NORD"), DataStr("DRV"), DataStr(""), FALSE),
			  TableReader::NOT_FOUND);
	EXPECT_EQ(costs.FindRecord(DataInt(2024), DataStr("DRV"), DataStr(""), FALSE), TableReader::NOT_FOUND);
}

TEST_F(DriversAccess, DriverLookupBySelectionTypeWithinTheYear)
{
	Driver(2024, "MQ", "Metri quadri");
	Driver(2024, "ADD", "Addetti");
	Driver(2024, "MA", "Magazzino");
	Driver(2023, "MX", "Metri anno prima");

	Probe<HKLKvzDriversTesta> hkl;
	EXPECT_TRUE(hkl.Customize(DataObjArray()));
	EXPECT_FALSE(hkl.IsAddOnFlyEnabled());
	EXPECT_TRUE(hkl.IsMustExistData());
	EXPECT_EQ(hkl.GetAddOnFlyNamespace(), "");
	hkl.SetEsercizio(DataInt(2024));

	EXPECT_EQ(hkl.Codes(HotKeyLink::DIRECT_ACCESS, "mq"), (V{"MQ"}));
	EXPECT_EQ(hkl.Codes(HotKeyLink::UPPER_BUTTON, "m"), (V{"MA", "MQ"}));
	EXPECT_EQ(hkl.Codes(HotKeyLink::COMBO_ACCESS, "m"), (V{"MA", "MQ"}));
	// Type 3: the description, ordered by description.
	EXPECT_EQ(hkl.Codes(HotKeyLink::LOWER_BUTTON, "m"), (V{"MA", "MQ"}));
	EXPECT_EQ(hkl.Codes(HotKeyLink::LOWER_BUTTON, ""), (V{"ADD", "MA", "MQ"}));
	EXPECT_NE(hkl.Sql().Find("ORDER BY \"Descrizione\""), -1) << hkl.Sql().GetString();
	// Any other type: the year only, with no sort column of its own.
	EXPECT_EQ(Sorted(hkl.Codes(7, "zzz")), (V{"ADD", "MA", "MQ"}));
	EXPECT_TRUE(hkl.Sql().str().ends_with("WHERE \"Esercizio\" = ? ORDER BY \"Esercizio\", \"ModelloDrivers\""))
		<< hkl.Sql().GetString();  // the table's key order, as every cursor without one

	DataStr code("mx");
	EXPECT_FALSE(hkl.FindRecord(&code));  // another year's
	EXPECT_FALSE(hkl.IsValid());
	code = "add";
	ASSERT_TRUE(hkl.FindRecord(&code));
	EXPECT_EQ(hkl.GetRecord()->f_Descrizione.GetString(), "Addetti");
	EXPECT_TRUE(AfxGetApplicationContext()->GetAssertionReports().empty());

	// A typed value that is no string is reported, by the lookup's name.
	DataInt notAString(3);
	hkl.Search(HotKeyLink::DIRECT_ACCESS, notAString);
	auto reports = AfxGetApplicationContext()->GetAssertionReports();
	ASSERT_EQ(reports.size(), 1u);
	EXPECT_EQ(reports[0].method, "HKLKvzDriversTesta::OnPrepareQuery");
	EXPECT_EQ(reports[0].condition, "pDataObj && pDataObj->IsKindOf((DataStr::GetThisClass()))");
}

TEST_F(DriversAccess, WorkingLookupsFilterByDriverOnlyWarehousesByNothing)
{
	auto model = [](int year, const char* ditta, const char* driver, const char* code) {
		TKvzDriversTempModelli r;
		r.f_Esercizio = year;
		r.f_Ditta = ditta;
		r.f_ModelloDrivers = driver;
		r.f_ModelloRiclassific = code;
		InsertRow(r);
	};
	model(2024, "NORD", "DRV", "CE");
	model(2023, "SUD", "DRV", "CE2");  // another year and company: listed all the same
	model(2024, "NORD", "ALTRO", "CE3");
	Probe<HKLKvzDriversTempModelli> models;
	models.SetModelloDrivers(DataStr("drv"));
	EXPECT_EQ(models.Codes(HotKeyLink::UPPER_BUTTON, "ce"), (V{"CE", "CE2"}));
	EXPECT_EQ(models.Codes(HotKeyLink::DIRECT_ACCESS, "ce3"), V{});

	for (const char* c : {"C2", "C1"})
	{
		TKvzDriversTempCosti r;
		r.f_Esercizio = 2024;
		r.f_ModelloDrivers = "DRV";
		r.f_CodRiclassificCosto = c;
		r.f_Descrizione = CString("Costo ") + c;
		InsertRow(r);
	}
	Probe<HKLKvzDriversTempCosti> costs;
	costs.SetModelloDrivers(DataStr("DRV"));
	EXPECT_EQ(costs.Codes(HotKeyLink::COMBO_ACCESS, ""), (V{"C1", "C2"}));
	costs.SetModelloDrivers(DataStr("ALTRO"));
	EXPECT_EQ(costs.Codes(HotKeyLink::COMBO_ACCESS, ""), V{});

	for (const char* c : {"W2", "W1"})
	{
		TKvzDriversMagazzini r;
		r.f_CodMagazzino = c;
		r.f_Descrizione = CString("Deposito ") + (c[1] == '1' ? "A" : "B");
		InsertRow(r);
	}
	Probe<HKLKvzDriversMagazzini> stores;
	EXPECT_EQ(stores.Codes(HotKeyLink::LOWER_BUTTON, "dep"), (V{"W1", "W2"}));
	DataStr code("w2");
	ASSERT_TRUE(stores.FindRecord(&code));
	EXPECT_EQ(stores.GetRecord()->f_Descrizione.GetString(), "Deposito B");
}
