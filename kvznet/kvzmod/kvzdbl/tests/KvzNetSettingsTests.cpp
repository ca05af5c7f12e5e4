#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "kvznet/kvzmod/kvzdbl/KvzNetSettings.h"
#include "platform/plvgeneric/Interaction.h"

namespace {
namespace fs = std::filesystem;

class KvzNetSettingsTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		m_Root = fs::temp_directory_path() / ("kvzdbl-settings-" + std::to_string(::getpid()));
		fs::remove_all(m_Root);
		AfxSetSettingsRoot(m_Root.string());
	}
	void TearDown() override
	{
		AfxSetSettingsRoot(m_Root.string());
		fs::remove_all(m_Root);
	}

	fs::path File() const
	{
		return AfxGetSettingsFilePath(CPLVNamespace("Module.KvzNet.KvzMod"), "KvzMod.config").str();
	}
	void WriteFile(const std::string& content) const
	{
		fs::create_directories(File().parent_path());
		std::ofstream(File(), std::ios::binary) << content;
		AfxSetSettingsRoot(m_Root.string());  // forget what memory holds
	}

	fs::path m_Root;
	ScriptedInteraction m_Ui;
	InteractionScope m_Scope{&m_Ui};
};

using BoolGetter = BOOL (CKvzNetSettings::*)() const;
using StrGetter = DataStr (CKvzNetSettings::*)() const;

const BoolGetter kBoolGetters[] = {
	&CKvzNetSettings::GetImpSaldiSelClienti,        &CKvzNetSettings::GetImpSaldiSelForn,
	&CKvzNetSettings::GetPropSimboloPBaseEconomici, &CKvzNetSettings::GetPropSimboloPBasePatrimoniali,
	&CKvzNetSettings::GetPropSimboloPBaseTuttiConti, &CKvzNetSettings::GetPropSimboloPBaseSelMastri,
	&CKvzNetSettings::GetPropSimboloPBaseSelSeg1,   &CKvzNetSettings::GetPropSimboloPBaseSelSeg2,
	&CKvzNetSettings::GetPropSimboloPBaseSelSeg3,   &CKvzNetSettings::GetPropSimboloPBaseSelSeg4,
	&CKvzNetSettings::GetPropSimboloPBaseSelSeg5,   &CKvzNetSettings::GetPropSimboloPBaseSelSeg6,
	&CKvzNetSettings::GetPropSimboloPBaseSelSeg7,
};
const StrGetter kStrGetters[] = {
	&CKvzNetSettings::GetImpSaldiFileClienti,         &CKvzNetSettings::GetImpSaldiFileForn,
	&CKvzNetSettings::GetPropSimboloPBaseContoDa,     &CKvzNetSettings::GetPropSimboloPBaseContoA,
	&CKvzNetSettings::GetPropSimboloPBaseCdcCommDa,   &CKvzNetSettings::GetPropSimboloPBaseCdcCommA,
	&CKvzNetSettings::GetPropSimboloPBaseFiltroCdcComm, &CKvzNetSettings::GetImpCodExtracontDocFileCodici,
};

void ExpectDefaults(const CKvzNetSettings& s)
{
	for (BoolGetter g : kBoolGetters)
		EXPECT_FALSE((s.*g)());
	for (StrGetter g : kStrGetters)
		EXPECT_TRUE((s.*g)().IsEmpty());
	EXPECT_EQ(s.GetDatiPrecEsercizio(), 0);
	EXPECT_EQ(s.GetDatiPrecTipoConto().GetValue(), 0x273B0000u);
	EXPECT_EQ(s.GetDatiPrecNaturaDelConto().GetValue(), 0x27430000u);
}
}  // namespace

TEST_F(KvzNetSettingsTest, DefaultsWithoutAFile)
{
	CKvzNetSettings s;
	EXPECT_EQ(s.GetNamespace().ToString(), "Module.KvzNet.KvzMod");
	EXPECT_EQ(s.GetFileName(), "KvzMod.config");
	EXPECT_EQ(s.GetSectionName(), "KvzNet");
	ExpectDefaults(s);
	EXPECT_FALSE(fs::exists(File()));
	EXPECT_TRUE(m_Ui.Messages().empty());
}

TEST_F(KvzNetSettingsTest, SetWithAndWithoutSavingThenReadBack)
{
	{
		CKvzNetSettings s;
		s.SetDatiPrecEsercizio(DataInt(2025), FALSE);
		s.SetImpSaldiSelForn(TRUE, FALSE);
		CKvzNetSettings other;  // holds nothing of its own
		EXPECT_EQ(other.GetDatiPrecEsercizio(), 2025);
		EXPECT_TRUE(other.GetImpSaldiSelForn());
		EXPECT_FALSE(fs::exists(File()));

		s.SetDatiPrecTipoConto(DataEnum(E_TIPOCONTO, 1), TRUE);
		s.SetPropSimboloPBaseFiltroCdcComm(DataStr("M"), TRUE);
		s.SetImpCodExtracontDocFileCodici(DataStr("/dati/codici extra;1.csv"), TRUE);
		EXPECT_TRUE(fs::exists(File()));
	}
	AfxSetSettingsRoot(m_Root.string());  // values come back from the file
	CKvzNetSettings s;
	EXPECT_EQ(s.GetDatiPrecTipoConto().GetValue(), 0x273B0001u);
	EXPECT_EQ(s.GetPropSimboloPBaseFiltroCdcComm().GetString(), "M");
	EXPECT_EQ(s.GetImpCodExtracontDocFileCodici().GetString(), "/dati/codici extra;1.csv");
	EXPECT_EQ(s.GetDatiPrecEsercizio(), 2025);  // the save writes the whole section
	EXPECT_TRUE(s.GetImpSaldiSelForn());

	s.SetPropSimboloPBaseSelSeg7(TRUE, FALSE);
	ASSERT_TRUE(s.SaveDblQuadroSettings());
	AfxSetSettingsRoot(m_Root.string());
	EXPECT_TRUE(CKvzNetSettings().GetPropSimboloPBaseSelSeg7());
	EXPECT_TRUE(m_Ui.Messages().empty());
}

TEST_F(KvzNetSettingsTest, DamagedFileFallsBackToDefaultsWithAMessage)
{
	const std::string garbage("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
	struct Case
	{
		const char* what;
		std::string content;
	} cases[] = {
		{"binary junk", garbage + "\n\xff\xfe junk without equals\n"},
		{"values of the wrong type",
		 "[KvzNet]\nEsercizio=20x5\nTipoConto=abc\nNaturaDelConto=1\nSelForn=forse\nSelClienti=99999999999999999999\n"},
		{"truncated", "[KvzNet]\nEsercizio"},
	};
	for (auto& c : cases)
	{
		SCOPED_TRACE(c.what);
		m_Ui.Clear();
		WriteFile(c.content);
		CKvzNetSettings s;
		ExpectDefaults(s);
		EXPECT_FALSE(m_Ui.Messages().empty());
		for (auto& m : m_Ui.Messages())
			EXPECT_EQ(m.type & MB_ICONWARNING, MB_ICONWARNING) << m.text.GetString();

		// Told once; the next save writes a sound file.
		m_Ui.Clear();
		ExpectDefaults(s);
		EXPECT_TRUE(m_Ui.Messages().empty());
		s.SetDatiPrecEsercizio(DataInt(2026), TRUE);
		AfxSetSettingsRoot(m_Root.string());
		EXPECT_EQ(CKvzNetSettings().GetDatiPrecEsercizio(), 2026);
		EXPECT_TRUE(m_Ui.Messages().empty());
	}

	// The readable values of a partly damaged file are kept.
	m_Ui.Clear();
	WriteFile("[KvzNet]\n@@@\nEsercizio=2024\nTipoConto=658178049\n");
	CKvzNetSettings s;
	EXPECT_EQ(s.GetDatiPrecEsercizio(), 2024);
	EXPECT_EQ(s.GetDatiPrecTipoConto().GetValue(), 0x273B0001u);
	EXPECT_EQ(m_Ui.Messages().size(), 1u);

	// A folder where the file should be: defaults, a message, and a save that fails.
	fs::remove(File());
	fs::create_directories(File());
	AfxSetSettingsRoot(m_Root.string());
	m_Ui.Clear();
	ExpectDefaults(CKvzNetSettings());
	EXPECT_EQ(m_Ui.Messages().size(), 1u);
	EXPECT_FALSE(CKvzNetSettings().SaveDblQuadroSettings());
}
