#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Array.h"
#include "platform/plvgeneric/EnumTexts.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvgeneric/Settings.h"

namespace {
class Counted : public CObject
{
public:
	explicit Counted(int& live) : m_live(live) { ++m_live; }
	~Counted() override { --m_live; }

private:
	int& m_live;
};
}  // namespace

TEST(OwningArray, DeletesElementsAndChecksBounds)
{
	int live = 0;
	{
		Array a;
		a.Add(new Counted(live));
		a.Add(new Counted(live));
		a.Add(new Counted(live));
		EXPECT_EQ(live, 3);
		a.RemoveAt(1);
		EXPECT_EQ(live, 2);
		EXPECT_THROW(a.GetAt(2), CInvalidArgException);
		EXPECT_THROW(a.GetAt(-1), CInvalidArgException);
		EXPECT_THROW(a.RemoveAt(5), CInvalidArgException);
	}
	EXPECT_EQ(live, 0);
}

TEST(Application, DateAndYearCanBeSet)
{
	AfxSetApplicationDate(DataDate(15, 3, 2025));
	EXPECT_EQ(AfxGetApplicationDate().Year(), 2025);
	EXPECT_EQ(AfxGetApplicationYear(), 0);
	AfxSetApplicationYear(2024);
	EXPECT_EQ(AfxGetApplicationYear(), 2024);
	AfxResetApplicationDate();
	EXPECT_EQ(AfxGetApplicationDate().Year(), DataDate::Today().Year());
	EXPECT_EQ(AfxGetMonthName(3), "Marzo");
	EXPECT_THROW(AfxGetMonthName(13), CInvalidArgException);
	EXPECT_EQ(AfxLoadSourceString("Budget", "DeBudget"), "Budget");
}

TEST(Interaction, ScriptedAnswersThenDefaults)
{
	ScriptedInteraction script;
	InteractionScope scope(&script);
	script.PushAnswer(IDNO);
	EXPECT_EQ(AfxMessageBox("Ci sono dei dettagli assestamenti presenti. Si vuole cancellarli?", MB_YESNO), IDNO);
	// Script exhausted: the question's default button answers.
	EXPECT_EQ(AfxMessageBox("Procedere?", MB_YESNO | MB_DEFBUTTON2), IDNO);
	EXPECT_EQ(AfxMessageBox("Procedere?", MB_YESNOCANCEL), IDYES);
	EXPECT_EQ(AfxMessageBox("Fatto."), IDOK);
	auto shown = script.Messages();
	ASSERT_EQ(shown.size(), 4u);
	EXPECT_EQ(shown[0].answer, IDNO);
	EXPECT_EQ(script.LastMessage(), "Fatto.");

	script.AbortAfterPolls(2);
	EXPECT_FALSE(AfxIsAbortRequested());
	EXPECT_TRUE(AfxIsAbortRequested());
	AfxSetProgressText("Calcolo in corso ...");
	EXPECT_EQ(script.ProgressTexts().size(), 1u);
}

TEST(Settings, DefaultsMemoryAndSave)
{
	namespace fs = std::filesystem;
	fs::path root = fs::temp_directory_path() / ("kvz-settings-" + std::to_string(::getpid()));
	fs::remove_all(root);
	AfxSetSettingsRoot(root.string());
	CPLVNamespace ns("Module.KvzNet.KvzMod");

	auto v = AfxGetSettingValue(ns, "KvzNet", "TipoConto", DataEnum(0x273B, 0), "KvzMod.config");
	EXPECT_EQ(static_cast<DataEnum&>(*v).GetValue(), 0x273B0000u);

	AfxSetSettingValue(ns, "KvzNet", "Esercizio", DataInt(2025), "KvzMod.config", 0);
	EXPECT_EQ(static_cast<DataInt&>(*AfxGetSettingValue(ns, "KvzNet", "Esercizio", DataInt(0), "KvzMod.config")), 2025);
	fs::path file = AfxGetSettingsFilePath(ns, "KvzMod.config").str();
	EXPECT_FALSE(fs::exists(file));  // memory only until saved

	AfxSetSettingValue(ns, "KvzNet", "FileClienti", DataStr("/tmp/a b;c\nd"), "KvzMod.config", 0);
	ASSERT_TRUE(AfxSaveSettings(ns, "KvzMod.config", "KvzNet", 0, 0, nullptr));
	EXPECT_TRUE(fs::exists(file));

	AfxSetSettingsRoot(root.string());  // drops memory: values come back from the file
	EXPECT_EQ(static_cast<DataInt&>(*AfxGetSettingValue(ns, "KvzNet", "Esercizio", DataInt(0), "KvzMod.config")), 2025);
	EXPECT_EQ(static_cast<DataStr&>(*AfxGetSettingValue(ns, "KvzNet", "FileClienti", DataStr(), "KvzMod.config")).GetString(),
			  "/tmp/a b;c\nd");
	fs::remove_all(root);
}

TEST(Settings, StoredTextOfAnotherTypeGivesTheDefaultOnce)
{
	namespace fs = std::filesystem;
	fs::path root = fs::temp_directory_path() / ("kvz-settings-bad-" + std::to_string(::getpid()));
	fs::remove_all(root);
	AfxSetSettingsRoot(root.string());
	CPLVNamespace ns("Module.Prova");
	fs::path file = AfxGetSettingsFilePath(ns, "prova.config").str();
	fs::create_directories(file.parent_path());
	std::ofstream(file) << "[S]\nb1=1\nb2=forse\ni1=-12\ni2=12abc\ni3=99999999999\nl1=99999999999\ne1=658178049\n"
						   "e2=1\ne3=2146500609\ne4=2146500613\nd1=1.5e3\nd2=1,5\ndt1=2025-02-28 10:11:12\ndt2=2025-02-30\ndt3=1799-12-31\ns1=12abc\n";
	AfxSetSettingsRoot(root.string());
	AfxRegisterEnumTexts(0x7FF1, {"Zero", "Uno", "Due"});

	struct Case
	{
		const char* key;
		std::unique_ptr<DataObj> def;
		bool readable;
	} cases[] = {
		{"b1", std::make_unique<DataBool>(FALSE), true},  {"b2", std::make_unique<DataBool>(TRUE), false},
		{"i1", std::make_unique<DataInt>(7), true},       {"i2", std::make_unique<DataInt>(7), false},
		{"i3", std::make_unique<DataInt>(7), false},      {"l1", std::make_unique<DataLng>(7), true},
		{"e1", std::make_unique<DataEnum>(0x273B, 0), true}, {"e2", std::make_unique<DataEnum>(0x273B, 0), false},
		// Of a tag with items: item 1 is one, item 5 is none.
		{"e3", std::make_unique<DataEnum>(0x7FF1, 0), true}, {"e4", std::make_unique<DataEnum>(0x7FF1, 0), false},
		{"d1", std::make_unique<DataMon>(2.5), true},     {"d2", std::make_unique<DataMon>(2.5), false},
		{"dt1", std::make_unique<DataDate>(1, 1, 2020), true}, {"dt2", std::make_unique<DataDate>(1, 1, 2020), false},
		{"dt3", std::make_unique<DataDate>(1, 1, 2020), true}, {"s1", std::make_unique<DataStr>("x"), true},
	};
	ScriptedInteraction ui;
	InteractionScope scope(&ui);
	for (auto& c : cases)
	{
		SCOPED_TRACE(c.key);
		ui.Clear();
		auto v = AfxGetSettingValue(ns, "S", c.key, *c.def, "prova.config");
		EXPECT_EQ(v->IsEqual(*c.def) != FALSE, !c.readable) << v->FormatData().GetString();
		EXPECT_EQ(ui.Messages().size(), c.readable ? 0u : 1u);
		AfxGetSettingValue(ns, "S", c.key, *c.def, "prova.config");
		EXPECT_EQ(ui.Messages().size(), c.readable ? 0u : 1u);  // told once
	}
	fs::remove_all(root);
}
