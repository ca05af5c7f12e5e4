#pragma once
// The cost-driver library loaded after the libraries it builds on, on a fresh company database,
// with the company's register, another company's database beside it, and the documents opened
// by their namespace.
#include <cstdio>

#include "kvznet/kvzmod/kvzdbl/Kvz_TAziende.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificato.h"
#include "kvznet/kvzmod/kvzdocuments/tests/KvzDocumentsFixture.h"
#include "platform/erp/erpsetup/CompanySetup.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvoledb/driver/Driver.h"
#include "platform/plvges/FormDriver.h"

class KvzApplLibrary : public KvzDocumentsLibrary
{
protected:
	template <class Doc>
	Doc* Apri(const char* templateName, const char* view = "Default")
	{
		CBaseDocument* p = m_Manager.RunDocument(CString("KvzNet.KvzDrivers.KvzAppl.") + templateName, view);
		return dynamic_cast<Doc*>(p);
	}

	// Writes a record as a new row through a cursor of its own.
	template <class Rec>
	static void Inserisci(Rec& rec)
	{
		SqlTable t(&rec);
		t.Open(TRUE);
		t.AddNew(FALSE);
		t.Update();
	}

	// A company of the register whose database is a file of this folder.
	static void Azienda(const char* codice, const char* database)
	{
		Kvz_TAziende a;
		a.f_Azienda = codice;
		a.f_DataSource = database;
		Inserisci(a);
	}

	// Another company's database in this folder, with every library's tables.
	std::unique_ptr<SqlConnection> AltraAzienda(const char* file)
	{
		auto conn = SqlConnection::Open(CString((m_Folder / file).string()), SqlConnection::CREATE_IF_MISSING);
		for (const auto& lib : m_Libs.GetLibraries())
			if (lib->pAddOn)
				lib->pAddOn->AOI_RegisterTables(conn.get(), "", &lib->ns);
		erp::SetupCompanyDatabase(*conn);
		return conn;
	}

	bool Detto(const char* testo) const
	{
		for (const ShownMessage& m : m_Ui.Messages())
			if (m.text.Find(testo) >= 0)
				return true;
		return false;
	}

	int Domande() const
	{
		int n = 0;
		for (const ShownMessage& m : m_Ui.Messages())
			n += (m.type & MB_YESNO) == MB_YESNO ? 1 : 0;
		return n;
	}

	// The rows of a query, ";" between rows and "|" between columns.
	static std::string Query(SqlConnection& conn, const std::string& sql)
	{
		auto st = conn.Db().Prepare(sql);
		std::string out;
		while (st->Step())
		{
			if (!out.empty())
				out += ";";
			for (int i = 0; i < st->ColumnCount(); ++i)
			{
				auto v = st->Column(i);
				if (i)
					out += "|";
				if (auto* p = std::get_if<std::int64_t>(&v))
					out += std::to_string(*p);
				else if (auto* d = std::get_if<double>(&v))
				{
					char buf[32];
					std::snprintf(buf, sizeof buf, "%g", *d);
					out += buf;
				}
				else if (auto* q = std::get_if<std::string>(&v))
					out += *q;
			}
		}
		return out;
	}
	std::string Query(const std::string& sql) { return Query(*m_pConn, sql); }
};
