#include "platform/plvgeneric/FileDialog.h"

#include <filesystem>
#include <system_error>

#include "platform/plvgeneric/Interaction.h"

CPLVFileDialog::CPLVFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName, DWORD dwFlags,
							   LPCTSTR lpszFilter)
	: m_bOpen(bOpenFileDialog), m_strDefExt(lpszDefExt), m_strPath(lpszFileName), m_dwFlags(dwFlags),
	  m_strFilter(lpszFilter)
{
}

int CPLVFileDialog::DoModal()
{
	CString title = m_bOpen ? "Apri" : "Salva con nome";
	// "Files (*.txt)|*.txt|Tutti i Files (*.*)|*.*|": the texts, for the person to read.
	CString kinds;
	int part = 0;
	for (int start = 0, bar; (bar = m_strFilter.Find('|', start)) >= 0; start = bar + 1, ++part)
		if (part % 2 == 0)
		{
			CString text = m_strFilter.Mid(start, bar - start);
			text.Trim();
			if (!text.IsEmpty())
				kinds += (kinds.IsEmpty() ? "" : ", ") + text;
		}
	if (!kinds.IsEmpty())
		title += " (" + kinds + ")";
	CString chosen;
	if (!AfxChooseFile(title, m_strPath, chosen) || chosen.IsEmpty())
		return IDCANCEL;

	namespace fs = std::filesystem;
	std::error_code ec;
	fs::path path(chosen.str());
	// A name typed without extension takes the default one, unless it exists as typed.
	if (!m_strDefExt.IsEmpty() && !path.has_extension() && !fs::exists(path, ec))
		path += "." + m_strDefExt.str();
	const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
	if ((m_dwFlags & (OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST)) && !fs::is_directory(folder, ec))
	{
		AfxMessageBox(CString::Formatted("Percorso non trovato: %s.", folder.string().c_str()), MB_OK | MB_ICONWARNING);
		return IDCANCEL;
	}
	if ((m_dwFlags & OFN_FILEMUSTEXIST) && !fs::is_regular_file(path, ec))
	{
		AfxMessageBox(CString::Formatted("File non trovato: %s.", path.string().c_str()), MB_OK | MB_ICONWARNING);
		return IDCANCEL;
	}
	m_strPath = CString(path.string());
	return IDOK;
}
