#pragma once
// Records the data-access tests, the reader tests and the benchmark share.
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "platform/plvoledb/SqlRecord.h"

// Counters by year, kind and code.
class TContatori : public SqlRecord
{
	DECLARE_DYNCREATE(TContatori, SqlRecord)
public:
	DataInt f_Esercizio;
	DataEnum f_TipoCodice;
	DataStr f_Codice;
	DataLng f_Valore;
	DataMon f_Importo;
	DataStr l_Nota;  // form state only

	TContatori() : SqlRecord("T_Contatori")
	{
		f_Codice.SetUpperCase();
		SetPrimaryKey({"Esercizio", "TipoCodice", "Codice"});
		AddIndex({"Codice"});
		BindRecord();
	}
	void BindRecord() override
	{
		BindDataObj(GetSize(), "Esercizio", f_Esercizio);
		BindDataObj(GetSize(), "TipoCodice", f_TipoCodice);
		BindDataObj(GetSize(), "Codice", f_Codice);
		BindDataObj(GetSize(), "Valore", f_Valore);
		BindDataObj(GetSize(), "Importo", f_Importo);
		BindLocalDataObj(GetSize(), "Nota", l_Nota);
		EndBindData(GetSize());
	}
};

// Ledger movements: a mixed-case account, a date and its month, an amount.
class TMovimenti : public SqlRecord
{
	DECLARE_DYNCREATE(TMovimenti, SqlRecord)
public:
	DataLng f_Id;
	DataStr f_Conto;
	DataDate f_Data;
	DataInt f_Mese;
	DataMon f_Importo;

	TMovimenti() : SqlRecord("T_Movimenti")
	{
		SetPrimaryKey({"Id"});
		AddIndex({"Conto", "Mese"});
		BindRecord();
	}
	void BindRecord() override
	{
		BindDataObj(GetSize(), "Id", f_Id);
		BindDataObj(GetSize(), "Conto", f_Conto);
		BindDataObj(GetSize(), "Data", f_Data);
		BindDataObj(GetSize(), "Mese", f_Mese);
		BindDataObj(GetSize(), "Importo", f_Importo);
		EndBindData(GetSize());
	}
};

// A fresh directory, removed with everything in it afterwards.
class TestDir
{
public:
	TestDir()
	{
		std::string pattern = (std::filesystem::temp_directory_path() / "plvoledb-XXXXXX").string();
		if (!mkdtemp(pattern.data()))
			throw std::runtime_error("mkdtemp failed");
		m_Path = std::filesystem::canonical(pattern);
	}
	~TestDir()
	{
		std::error_code ec;
		std::filesystem::remove_all(m_Path, ec);
	}
	TestDir(const TestDir&) = delete;
	TestDir& operator=(const TestDir&) = delete;

	const std::filesystem::path& Path() const { return m_Path; }
	CString File(const char* name) const { return CString((m_Path / name).string()); }

private:
	std::filesystem::path m_Path;
};
