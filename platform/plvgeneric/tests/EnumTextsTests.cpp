#include <gtest/gtest.h>

#include "platform/plvgeneric/DataObj.h"
#include "platform/plvgeneric/EnumTexts.h"

TEST(EnumTexts, RegisteredTextsShowInPlaceOfTagAndItem)
{
	const WORD tag = 61001;  // a tag of this test only
	EXPECT_EQ(AfxGetEnumItemText(MAKELONG(0, tag)), "");
	EXPECT_EQ(DataEnum(tag, 1).FormatData(), "61001:1");

	AfxRegisterEnumTexts(tag, {"Mensile", "Trimestrale"});
	AfxRegisterEnumItemText(tag, 5, "Annuale");
	AfxRegisterEnumItemText(tag + 1, 0, "Altra");  // the next tag stays apart
	EXPECT_EQ(DataEnum(tag, 1).FormatData(), "Trimestrale");
	EXPECT_EQ(DataEnum(tag, 2).FormatData(), "61001:2");  // an item without a text
	EXPECT_EQ(DataEnum(tag, 1).FormatData("%08X"), "EE490001");  // a format shows the value
	EXPECT_EQ(AfxGetEnumItems(tag),
			  (std::vector<std::pair<WORD, CString>>{{0, "Mensile"}, {1, "Trimestrale"}, {5, "Annuale"}}));
	EXPECT_TRUE(AfxGetEnumItems(tag + 2).empty());

	AfxRegisterEnumItemText(tag, 0, "Ogni mese");  // registering again replaces
	EXPECT_EQ(AfxGetEnumItemText(MAKELONG(0, tag)), "Ogni mese");
}
