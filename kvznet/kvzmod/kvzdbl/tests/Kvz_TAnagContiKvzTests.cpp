#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/tests/KvzDblFixture.h"
#include "kvznet/kvzmod/kvzdbl/tests/KvzDblTestHelpers.h"

namespace {
using namespace kvzdbl::test;

Kvz_TAnagContiKvz Conto(int year, const char* code, WORD tipo, const char* descr, BOOL proponi = TRUE)
{
	Kvz_TAnagContiKvz r;
	r.f_Esercizio = year;
	r.f_ContoKvz = code;
	r.f_TipoConto = DataEnum(E_TIPOCONTO, tipo);
	r.f_Descrizione = descr;
	r.f_ProponiInAssest = proponi;
	return r;
}

using AnagConti = CompanyDb;
}  // namespace

TEST_F(AnagConti, BindOrderDefaultsAndUpperCase)
{
	Kvz_TEnhAnagContiKvz r;
	std::vector<CString> expected = {
		"Esercizio", "ContoKvz", "TipoConto", "TipoMastro", "Descrizione", "ContoCollegato", "ProponiInAssest",
		"ModifInAssest", "InseritoManualmente", "UltimoLivelloRaggrupp", "ContoKvzPadre", "InversioneSegno",
		"CodiceBudget", "AggiungiCdcCommAuto", "SaldoVariato", "StatusBmp", "TmpInp", "SaldoDelMese", "IDPBase",
		"Tmp", "Mod", "SelCdcM", "Sel", "OldSel", "Segno", "ContG", "ContD", "DalConto", "DesDalConto", "AlConto",
		"DesAlConto", "DesContoPa"};
	EXPECT_EQ(BoundNames(r), expected);
	EXPECT_EQ(r.GetColumnCount(), 15);
	EXPECT_EQ(r.GetColumnLength(r.GetIndexFromColumnName("TmpInp")), 1);
	EXPECT_EQ(r.GetColumnLength(r.GetIndexFromColumnName("DalConto")), 26);
	EXPECT_TRUE(AfxGetApplicationContext()->GetAssertionReports().empty());  // local types as declared

	EXPECT_EQ(r.f_TipoConto.GetValue(), 0x273B0000u);
	EXPECT_EQ(r.f_TipoMastro.GetValue(), 0x27430000u);
	EXPECT_EQ(r.l_SegnoConto.GetValue(), 0x3AAB0000u);

	for (int i = 0; i < r.GetSize(); ++i)
	{
		auto* s = dynamic_cast<DataStr*>(r.GetDataObjAt(i));
		if (!s)
			continue;
		CString name = r.GetItem(i)->m_strColumnName;
		bool upper = name == "ContoKvz" || name == "ContoCollegato" || name == "CodiceBudget";
		EXPECT_EQ(s->IsUpperCase() != FALSE, upper) << name.GetString();
	}
	EXPECT_EQ(r.GetPrimaryKey(), (std::vector<CString>{"Esercizio", "ContoKvz"}));
}

TEST_F(AnagConti, CopyAndAssignmentAreBoundToTheirOwnMembers)
{
	Kvz_TEnhAnagContiKvz a;
	a.f_Esercizio = 2025;
	a.f_ContoKvz = "ab01";
	a.l_Sel = TRUE;
	Kvz_TEnhAnagContiKvz b(a);
	EXPECT_EQ(b.f_ContoKvz.GetString(), "AB01");
	EXPECT_TRUE(b.l_Sel);
	EXPECT_EQ(b.GetDataObjFromColumnName("ContoKvz"), &b.f_ContoKvz);
	b.f_ContoKvz = "zz";
	EXPECT_EQ(a.f_ContoKvz.GetString(), "AB01");
	EXPECT_EQ(b.f_ContoKvz.GetString(), "ZZ");  // the copy keeps upper case

	Kvz_TEnhAnagContiKvz c;
	c = a;
	EXPECT_TRUE(c.IsEqual(a));
	EXPECT_TRUE(c.l_Sel);
	std::unique_ptr<SqlRecord> clone(a.Clone());
	EXPECT_TRUE(clone->IsKindOf(RUNTIME_CLASS(Kvz_TEnhAnagContiKvz)));
	EXPECT_TRUE(clone->IsEqual(a));
}

TEST_F(AnagConti, ExtRecordReadsEnumerationsAsLongsOnAnotherCompany)
{
	auto other = OtherCompany("altra.db");
	Kvz_TAnagContiKvz r = Conto(2025, "C1", 1, "Crediti");
	r.f_TipoMastro = DataEnum(E_TIPOMASTRO, 3);
	r.SetConnection(other.get());
	InsertRow(r);

	Kvz_TAnagContiKvz_Ext ext(other.get());
	ASSERT_TRUE(ReadFirstRow(ext));
	EXPECT_EQ(ext.f_TipoConto.GetValue(), 0x273B0001L);
	EXPECT_EQ(ext.f_TipoMastro.GetValue(), 0x27430003L);

	Kvz_TRAnagContiKvz reader;  // the current company has no such row
	EXPECT_EQ(reader.FindRecord(DataInt(2025), DataStr("C1")), TableReader::NOT_FOUND);
}

TEST_F(AnagConti, ReaderAndUpdater)
{
	Kvz_TUAnagContiKvz upd;
	ASSERT_EQ(upd.FindRecord(DataInt(2025), DataStr("r01"), FALSE), TableReader::NOT_FOUND);
	upd.GetRecord()->f_Esercizio = 2025;
	upd.GetRecord()->f_ContoKvz = "r01";
	upd.GetRecord()->f_Descrizione = "Ricavi";
	ASSERT_TRUE(upd.UpdateRecord());

	Kvz_TRAnagContiKvz reader;
	ASSERT_EQ(reader.FindRecord(DataInt(2025), DataStr("R01")), TableReader::FOUND);
	EXPECT_EQ(reader.GetRecord()->f_Descrizione.GetString(), "Ricavi");
	EXPECT_EQ(reader.FindRecord(DataInt(2024), DataStr("R01")), TableReader::NOT_FOUND);

	// Two workstations: the lock flag keeps the second one out.
	CBaseDocument docA, docB;
	Kvz_TUAnagContiKvz a(&docA), b(&docB);
	EXPECT_EQ(a.FindRecord(DataInt(2025), DataStr("R01"), TRUE), TableReader::FOUND);
	EXPECT_EQ(b.FindRecord(DataInt(2025), DataStr("R01"), TRUE), TableReader::LOCKED);
	EXPECT_EQ(b.FindRecord(DataInt(2025), DataStr("R01"), FALSE), TableReader::FOUND);
	a.Free();
	EXPECT_EQ(b.FindRecord(DataInt(2025), DataStr("R01"), TRUE), TableReader::FOUND);

	ASSERT_TRUE(b.DeleteRecord());
	EXPECT_EQ(reader.FindRecord(DataInt(2025), DataStr("R01")), TableReader::NOT_FOUND);
}

TEST_F(AnagConti, EmptyKeysRunNoQuery)
{
	m_pConn->ExecuteSQL("DROP TABLE Kvz_AnagConti");  // any query would now fail
	Kvz_TRAnagContiKvz reader;
	Kvz_TUAnagContiKvz upd;
	EXPECT_EQ(reader.FindRecord(DataInt(0), DataStr("X")), TableReader::NOT_FOUND);
	EXPECT_EQ(reader.FindRecord(DataInt(2025), DataStr("")), TableReader::NOT_FOUND);
	EXPECT_EQ(upd.FindRecord(DataInt(0), DataStr("X"), TRUE), TableReader::NOT_FOUND);
	EXPECT_THROW(reader.FindRecord(DataInt(2025), DataStr("X")), SqlException);
}

TEST_F(AnagConti, HotlinkYearSelectionsAndRefusals)
{
	Kvz_TAnagContiKvz rows[] = {
		Conto(2025, "E01", 0, "Vendite"),          Conto(2025, "E02", 0, "Acquisti", FALSE),
		Conto(2025, "P01", 1, "Cassa"),            Conto(2024, "E01", 0, "Vendite vecchie"),
		Conto(2025, "P02", 1, "Banca Vendite"),
	};
	for (auto& r : rows)
		InsertRow(r);
	AfxSetApplicationDate(DataDate(10, 6, 2025));

	KVZ_HKLAnagContiKvz hkl;
	EXPECT_FALSE(hkl.IsAddOnFlyEnabled());
	EXPECT_TRUE(hkl.IsMustExistData());
	EXPECT_EQ(hkl.GetAddOnFlyNamespace(), "KvzMod.KvzDocuments.DAnagConti");

	DataStr code("e01");
	ASSERT_TRUE(hkl.FindRecord(&code));
	EXPECT_EQ(hkl.GetRecord()->f_Descrizione.GetString(), "Vendite");  // the 2025 row
	EXPECT_EQ(hkl.GetSelEsercizio(), 2025);
	AfxSetApplicationDate(DataDate(10, 6, 2024));
	ASSERT_TRUE(hkl.FindRecord(&code));
	EXPECT_EQ(hkl.GetRecord()->f_Descrizione.GetString(), "Vendite");  // the year taken first is kept
	EXPECT_EQ(hkl.GetDataObj(), &hkl.GetRecord()->f_ContoKvz);

	auto codes = [&](int type, const char* pattern) {
		std::vector<CString> out;
		for (auto& r : hkl.Search(type, DataStr(pattern)))
			out.push_back(static_cast<Kvz_TAnagContiKvz&>(*r).f_ContoKvz.GetString());
		return out;
	};
	using V = std::vector<CString>;
	EXPECT_EQ(codes(HotKeyLink::UPPER_BUTTON, "E"), (V{"E01", "E02"}));
	EXPECT_EQ(codes(HotKeyLink::LOWER_BUTTON, "ba"), (V{"P02"}));  // by description
	hkl.SetSelTipoConto(KVZ_HKLAnagContiKvz::PATRIMONIALI);
	EXPECT_EQ(codes(HotKeyLink::UPPER_BUTTON, ""), (V{"P01", "P02"}));
	hkl.SetSelTipoConto(KVZ_HKLAnagContiKvz::ECONOMICI);
	hkl.SetSelFiltroAssestamento(TRUE);
	EXPECT_EQ(codes(HotKeyLink::UPPER_BUTTON, ""), (V{"E01"}));

	// The exact search applies neither filter; IsValid refuses.
	struct Case
	{
		KVZ_HKLAnagContiKvz::SelectionTipoConto sel;
		BOOL assest;
		const char* code;
		const char* error;
	} cases[] = {
		{KVZ_HKLAnagContiKvz::ECONOMICI, FALSE, "P01", "Il conto indicato e' di tipo patrimoniale."},
		{KVZ_HKLAnagContiKvz::PATRIMONIALI, FALSE, "E01", "Il conto indicato e' di tipo economico."},
		{KVZ_HKLAnagContiKvz::ALL, TRUE, "E02",
		 "Il conto indicato non puo' essere utilizzato come filtro per l'assestamento."},
		{KVZ_HKLAnagContiKvz::ECONOMICI, TRUE, "E01", ""},
		{KVZ_HKLAnagContiKvz::ALL, FALSE, "X99", "Il codice 'X99' non esiste."},
	};
	for (auto& c : cases)
	{
		SCOPED_TRACE(c.code);
		hkl.SetSelTipoConto(c.sel);
		hkl.SetSelFiltroAssestamento(c.assest);
		DataStr v(c.code);
		EXPECT_EQ(hkl.FindRecord(&v) != FALSE, std::string(c.code) != "X99");
		EXPECT_EQ(hkl.IsValid() != FALSE, *c.error == 0);
		EXPECT_EQ(hkl.GetErrorString(), c.error);
	}
}
