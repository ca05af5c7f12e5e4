#include <gtest/gtest.h>

#include "platform/erp/erpstockcomponents/ErpSymTable.h"

TEST(ErpSymTable, AddByNameIterateSetValuesEmpty)
{
	ErpSymTable table;
	ErpSymField* a = table.Add("_A", DATA_DBL_TYPE);
	ErpSymField* macro = table.Add("__M", DATA_DBL_TYPE);
	ErpSymField* lower = table.Add("_a", DATA_DBL_TYPE);  // names differ in case: another field
	EXPECT_EQ(table.Add("_A", DATA_DBL_TYPE), a);          // the same name again: the same field
	ASSERT_EQ(table.GetSize(), 3);
	EXPECT_NE(lower, a);
	EXPECT_EQ(table.GetField("__M"), macro);
	EXPECT_EQ(table.GetField("__m"), nullptr);
	EXPECT_TRUE(table.ExistField("_a"));

	std::vector<CString> names;
	for (auto& f : table)
		names.push_back(f->GetName());
	EXPECT_EQ(names, (std::vector<CString>{"_A", "__M", "_a"}));

	EXPECT_EQ(a->GetDataType(), DATA_DBL_TYPE);
	EXPECT_DOUBLE_EQ(static_cast<DataDbl&>(*a->GetData()), 0.0);
	a->SetData(DataDbl(10.5));
	table.GetAt(2)->SetData(DataMon(-3));
	EXPECT_DOUBLE_EQ(static_cast<DataDbl&>(*table.GetField("_A")->GetData()), 10.5);
	EXPECT_DOUBLE_EQ(static_cast<DataDbl&>(*lower->GetData()), -3);

	ErpSymField* text = table.Add("_T", DATA_STR_TYPE);
	text->SetData(DataStr("testo"));
	EXPECT_EQ(text->GetData()->FormatData(), "testo");

	table.RemoveAll();
	EXPECT_EQ(table.GetSize(), 0);
	EXPECT_EQ(table.GetField("_A"), nullptr);
	EXPECT_NE(table.Add("_A", DATA_DBL_TYPE), nullptr);
}
