#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "platform/mfc/CException.h"
#include "platform/mfc/Collections.h"
#include "platform/mfc/CString.h"

namespace {
class Shape : public CObject
{
	DECLARE_DYNAMIC(Shape, CObject)
public:
	virtual int Corners() const = 0;
};

class Square : public Shape
{
	DECLARE_DYNCREATE(Square, Shape)
public:
	int Corners() const override { return 4; }
};

class Cube : public Square
{
	DECLARE_DYNCREATE(Cube, Square)
public:
	int Corners() const override { return 8; }
};

class Circle : public Shape
{
	DECLARE_DYNCREATE(Circle, Shape)
public:
	int Corners() const override { return 0; }
};
}  // namespace

TEST(RuntimeClass, KindTestsFollowTheHierarchy)
{
	Cube cube;
	EXPECT_TRUE(cube.IsKindOf(RUNTIME_CLASS(Cube)));
	EXPECT_TRUE(cube.IsKindOf(RUNTIME_CLASS(Square)));
	EXPECT_TRUE(cube.IsKindOf(RUNTIME_CLASS(Shape)));
	EXPECT_TRUE(cube.IsKindOf(RUNTIME_CLASS(CObject)));
	EXPECT_FALSE(cube.IsKindOf(RUNTIME_CLASS(Circle)));
	Square square;
	EXPECT_FALSE(square.IsKindOf(RUNTIME_CLASS(Cube)));
	EXPECT_STREQ(cube.GetRuntimeClass()->m_lpszClassName, "Cube");
	EXPECT_EQ(Cube::GetThisClass()->GetBaseClass(), Square::GetThisClass());
}

TEST(RuntimeClass, CreatesByNameOnlyWhatCanBeCreated)
{
	std::unique_ptr<CObject> p(CRuntimeClass::CreateObject("Cube"));
	ASSERT_NE(p, nullptr);
	ASSERT_TRUE(p->IsKindOf(RUNTIME_CLASS(Shape)));
	EXPECT_EQ(static_cast<Shape*>(p.get())->Corners(), 8);
	EXPECT_EQ(CRuntimeClass::FromName("Shape"), Shape::GetThisClass());
	EXPECT_EQ(CRuntimeClass::CreateObject("Shape"), nullptr);  // abstract
	EXPECT_EQ(CRuntimeClass::CreateObject("NoSuchClass"), nullptr);
	EXPECT_EQ(DynamicDownCast<Circle>(p.get()), nullptr);
	EXPECT_NE(DynamicDownCast<Square>(p.get()), nullptr);
}

TEST(CStringTest, FormatAndEditing)
{
	CString s;
	s.Format("%0*ld|%s|%5.2f", 6, 42L, "abc", 3.14159);
	EXPECT_EQ(s, "000042|abc| 3.14");

	CString t("  Conto Ricavi  ");
	t.Trim();
	EXPECT_EQ(t, "Conto Ricavi");
	EXPECT_EQ(t.Find("Ric"), 6);
	EXPECT_EQ(t.Find('z'), -1);
	EXPECT_EQ(t.Mid(6), "Ricavi");
	EXPECT_EQ(t.Mid(6, 3), "Ric");
	EXPECT_EQ(t.Left(5), "Conto");
	EXPECT_EQ(t.Right(3), "avi");
	EXPECT_EQ(t.Mid(50), "");
	EXPECT_EQ(t.Left(-1), "");
	EXPECT_EQ(t.Replace("o", "0"), 2);
	EXPECT_EQ(t, "C0nt0 Ricavi");

	CString accents("perché già più");
	accents.MakeUpper();
	EXPECT_EQ(accents, "PERCHÉ GIÀ PIÙ");
	EXPECT_EQ(accents.CompareNoCase("perché già più"), 0);
	EXPECT_LT(CString("A").Compare("B"), 0);

	CString big;
	big.Format("%s", std::string(1000, 'x').c_str());
	EXPECT_EQ(big.GetLength(), 1000);
}

TEST(CStringTest, OrdersByTextInsidePairs)
{
	std::map<std::pair<CString, int>, int> m;
	std::string key = "Kvz_ADMBudgetObj";
	m[{CString(key), 1}] = 7;
	EXPECT_EQ(m.count({CString(std::string(key)), 1}), 1u);  // another buffer, the same text
	EXPECT_LT((std::pair<CString, int>{"a", 9}), (std::pair<CString, int>{"b", 0}));
}

TEST(Collections, OutOfRangeIndexRaisesInvalidArgument)
{
	CStringArray a;
	a.Add("uno");
	EXPECT_EQ(a.GetAt(0), "uno");
	EXPECT_THROW(a.GetAt(1), CInvalidArgException);
	EXPECT_THROW(a.GetAt(-1), CInvalidArgException);
}
