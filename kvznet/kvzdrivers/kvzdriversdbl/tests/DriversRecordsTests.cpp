#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "kvznet/kvzdrivers/kvzdriversdbl/KvzDriversDblTables.h"
#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
using V = std::vector<CString>;

V Months(const char* prefix)
{
	V out;
	for (int m = 1; m <= 12; ++m)
		out.push_back(CString(prefix) + AfxGetMonthName(m));
	return out;
}

V Cat(std::initializer_list<V> parts)
{
	V out;
	for (auto& p : parts)
		out.insert(out.end(), p.begin(), p.end());
	return out;
}

// One letter per bound field: Int, Str, Mon, Perc, Qty, Enum, Bool.
std::string Types(const SqlRecord& r)
{
	std::string out;
	for (int i = 0; i < r.GetSize(); ++i)
		switch (r.GetDataObjAt(i)->GetDataType())
		{
		case DATA_INT_TYPE: out += 'I'; break;
		case DATA_STR_TYPE: out += 'S'; break;
		case DATA_MON_TYPE: out += 'M'; break;
		case DATA_PERC_TYPE: out += 'P'; break;
		case DATA_QTY_TYPE: out += 'Q'; break;
		case DATA_ENUM_TYPE: out += 'E'; break;
		case DATA_BOOL_TYPE: out += 'B'; break;
		default: out += '?';
		}
	return out;
}

struct Shape
{
	const char* table;
	std::function<std::unique_ptr<SqlRecord>()> make;
	V fields;  // columns in bind order, then local fields
	int nColumns;
	std::string types;
	V key;
	std::set<CString> upper;
	std::vector<int> localLengths;
};

template <class Rec>
std::function<std::unique_ptr<SqlRecord>()> Make()
{
	return [] { return std::make_unique<Rec>(); };
}

const std::vector<Shape>& Shapes()
{
	static const std::vector<Shape> shapes = {
		{"KvzDriversTesta", Make<TKvzDriversTesta>(),
		 {"Esercizio", "ModelloDrivers", "Descrizione", "TipoCalcolo", "RiclassificazioneDrivers", "CodMagazzino",
		  "Disattivo"},
		 7, "ISSESSB", {"Esercizio", "ModelloDrivers"},
		 {"ModelloDrivers", "RiclassificazioneDrivers", "CodMagazzino"}, {}},
		{"KvzDriversModelli", Make<TKvzDriversModelli>(),
		 Cat({{"Esercizio", "ModelloDrivers", "Ditta", "EsercizioRiclassific", "ModelloRiclassific", "Descrizione"},
			  Months("ValOrig"), Months("Val"), Months("Perc"), {"SelModelliDitta"}}),
		 42, "ISSISS" + std::string(24, 'M') + std::string(12, 'P') + "I",
		 {"Esercizio", "ModelloDrivers", "Ditta", "ModelloRiclassific"}, {"ModelloDrivers", "Ditta", "ModelloRiclassific"},
		 {0}},
		{"KvzDriversCosti", Make<TKvzDriversCosti>(),
		 Cat({{"Esercizio", "ModelloDrivers", "CodRiclassificCosto", "Descrizione", "Formula", "CodRiclRibaldamento",
			   "CodRiclRibaldamentoStd"},
			  Months("CostoStandard")}),
		 19, "ISSSSSS" + std::string(12, 'M'), {"Esercizio", "ModelloDrivers", "CodRiclassificCosto"},
		 {"ModelloDrivers", "CodRiclassificCosto", "CodRiclRibaldamento", "CodRiclRibaldamentoStd"}, {}},
		{"KvzDriversIncrementi", Make<TKvzDriversIncrementi>(),
		 Cat({{"Esercizio", "ModelloDrivers", "Ditta", "ModelloRiclassificInter", "CodRiclassificCosto"},
			  Months("Incr"), {"l_Descrizione", "l_Descrizione"}}),
		 17, "ISSSS" + std::string(12, 'P') + "SS",
		 {"Esercizio", "ModelloDrivers", "Ditta", "ModelloRiclassificInter", "CodRiclassificCosto"},
		 {"ModelloDrivers", "ModelloRiclassificInter", "CodRiclassificCosto"}, {64, 64}},
		{"KvzDriversTempModelli", Make<TKvzDriversTempModelli>(),
		 {"Esercizio", "ModelloDrivers", "Ditta", "EsercizioRiclassific", "ModelloRiclassific", "Descrizione"}, 6,
		 "ISSISS", {"Esercizio", "ModelloDrivers", "Ditta", "ModelloRiclassific"},
		 {"ModelloDrivers", "Ditta", "ModelloRiclassific"}, {}},
		{"KvzDriversTempCosti", Make<TKvzDriversTempCosti>(),
		 {"Esercizio", "ModelloDrivers", "CodRiclassificCosto", "Descrizione"}, 4, "ISSS",
		 {"Esercizio", "ModelloDrivers", "CodRiclassificCosto"}, {"ModelloDrivers", "CodRiclassificCosto"}, {}},
		{"KvzDriversMagazzini", Make<TKvzDriversMagazzini>(),
		 {"CodMagazzino", "Descrizione", "Nota1", "Nota2", "Nota3", "Nota4"}, 6, "SSSSSS", {"CodMagazzino"},
		 {"CodMagazzino"}, {}},
		{"KvzMetriQuadriTesta", Make<TKvzMetriQuadriTesta>(),
		 {"Esercizio", "CodMagazzino", "Mese", "Descrizione1", "Descrizione2", "Descrizione3", "Descrizione4",
		  "CodiceDrivers", "TotaleMetriQuadri", "MetriQuadriRighe"},
		 9, "ISISSSSSQQ", {"Esercizio", "CodMagazzino", "Mese"}, {"CodMagazzino", "CodiceDrivers"}, {0}},
		{"KvzMetriQuadriMesi", Make<TKvzMetriQuadriMesi>(),
		 {"Esercizio", "CodMagazzino", "Mese", "Anno", "Ditta", "ModelloRiclassific", "MetriQuadri", "DescriModello"}, 7,
		 "ISIISSQS", {"Esercizio", "CodMagazzino", "Mese", "Ditta", "ModelloRiclassific"},
		 {"CodMagazzino", "Ditta", "ModelloRiclassific"}, {64}},
	};
	return shapes;
}
}  // namespace

TEST(DriversRecords, ColumnsBindOrderKeysAndUpperCase)
{
	AfxGetApplicationContext()->ClearAssertionReports();
	for (const Shape& s : Shapes())
	{
		SCOPED_TRACE(s.table);
		auto r = s.make();
		EXPECT_EQ(r->GetTableName(), s.table);
		V names;
		std::set<CString> upper;
		std::vector<int> lengths;
		for (int i = 0; i < r->GetSize(); ++i)
		{
			names.push_back(r->GetItem(i)->m_strColumnName);
			if (auto* str = dynamic_cast<DataStr*>(r->GetDataObjAt(i)); str && str->IsUpperCase())
				upper.insert(r->GetItem(i)->m_strColumnName);
			EXPECT_EQ(r->IsLocal(i) != FALSE, i >= s.nColumns) << i;
			if (r->IsLocal(i))
				lengths.push_back(r->GetColumnLength(i));
		}
		EXPECT_EQ(names, s.fields);
		EXPECT_EQ(r->GetColumnCount(), s.nColumns);
		EXPECT_EQ(Types(*r), s.types);
		EXPECT_EQ(r->GetPrimaryKey(), s.key);
		EXPECT_EQ(upper, s.upper);
		EXPECT_EQ(lengths, s.localLengths);
		// Created by name, as the framework does.
		std::unique_ptr<CObject> byName(r->GetRuntimeClass()->CreateObject());
		ASSERT_TRUE(byName);
		EXPECT_EQ(static_cast<SqlRecord&>(*byName).GetSize(), r->GetSize());
	}
	// No local field of the wrong type.
	EXPECT_TRUE(AfxGetApplicationContext()->GetAssertionReports().empty());
}

TEST(DriversRecords, FreshRecordsAreEmptyWithTheirDefaults)
{
	for (const Shape& s : Shapes())
	{
		SCOPED_TRACE(s.table);
		auto r = s.make();
		for (int i = 0; i < r->GetSize(); ++i)
			EXPECT_TRUE(r->GetDataObjAt(i)->IsEmpty() || r->GetDataObjAt(i)->GetDataType() == DATA_ENUM_TYPE)
				<< r->GetItem(i)->m_strColumnName.GetString();
	}
	TKvzDriversTesta t;
	EXPECT_EQ(t.f_TipoCalcolo.GetTagValue(), 0x3AB1);
	EXPECT_EQ(t.f_TipoCalcolo.GetItemValue(), 0);
	EXPECT_FALSE(t.f_Disattivo);
	t.f_TipoCalcolo = DataEnum(0x3AB1, 2);
	t.Init();
	EXPECT_EQ(t.f_TipoCalcolo.GetValue(), 0x3AB10000u);
}

TEST(DriversRecords, CodesUpperCaseOtherTextsAsTyped)
{
	TKvzDriversIncrementi inc;
	inc.f_Ditta = "Filiale Nord";
	inc.f_ModelloDrivers = "drv1";
	inc.f_ModelloRiclassificInter = "mod-a";
	inc.f_CodRiclassificCosto = "c10";
	EXPECT_EQ(inc.f_Ditta.GetString(), "Filiale Nord");
	EXPECT_EQ(inc.f_ModelloDrivers.GetString(), "DRV1");
	EXPECT_EQ(inc.f_ModelloRiclassificInter.GetString(), "MOD-A");
	EXPECT_EQ(inc.f_CodRiclassificCosto.GetString(), "C10");

	TKvzDriversModelli mod;
	mod.f_Ditta = "nord";
	EXPECT_EQ(mod.f_Ditta.GetString(), "NORD");

	TKvzDriversCosti costo;
	costo.f_Formula = "r100 + c_Spese";
	costo.f_CodRiclRibaldamentoStd = "std";
	EXPECT_EQ(costo.f_Formula.GetString(), "r100 + c_Spese");
	EXPECT_EQ(costo.f_CodRiclRibaldamentoStd.GetString(), "STD");

	TKvzMetriQuadriTesta mq;
	mq.f_Descrizione1 = "Piano terra";
	mq.f_CodiceDrivers = "mq";
	EXPECT_EQ(mq.f_Descrizione1.GetString(), "Piano terra");
	EXPECT_EQ(mq.f_CodiceDrivers.GetString(), "MQ");

	TKvzDriversMagazzini mag;
	mag.f_Nota4 = "vedi contratto";
	EXPECT_EQ(mag.f_Nota4.GetString(), "vedi contratto");
}

TEST(DriversRecords, CopyTakesLocalFieldsAndStaysBound)
{
	TKvzDriversIncrementi a;
	a.f_ModelloDrivers = "DRV";
	a.f_Incr[11] = 12.5;
	a.l_DescrizioneModello = "Modello A";
	a.l_DescrizioneCosto = "Affitti";
	TKvzDriversIncrementi b(a);
	EXPECT_EQ(b.l_DescrizioneModello.GetString(), "Modello A");
	EXPECT_EQ(b.l_DescrizioneCosto.GetString(), "Affitti");
	EXPECT_DOUBLE_EQ(b.f_Incr[11].GetValue(), 12.5);
	// The copy's bindings are its own members.
	b.f_Incr[11] = 3;
	EXPECT_DOUBLE_EQ(a.f_Incr[11].GetValue(), 12.5);
	EXPECT_EQ(b.GetDataObjFromColumnName("IncrDicembre")->FormatData(), b.f_Incr[11].FormatData());

	TKvzMetriQuadriMesi c;
	c.l_DescriModello = "Conto economico";
	c.f_MetriQuadri = 120;
	TKvzMetriQuadriMesi d;
	d = c;
	EXPECT_EQ(d.l_DescriModello.GetString(), "Conto economico");
	EXPECT_TRUE(d == c);
	d.f_MetriQuadri = 5;
	EXPECT_DOUBLE_EQ(c.f_MetriQuadri.GetValue(), 120);
}
