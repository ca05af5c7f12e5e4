#pragma once
// Settings values: typed keys in sections of a settings file per namespace, kept in memory
// and saved on request. Files live under the settings root, in a folder per namespace.
#include <memory>

#include "platform/plvgeneric/DataObj.h"
#include "platform/plvnamesolver/CPLVNamespace.h"

class ISettingsCustomSave;

// The folder that holds every namespace's settings files (default $KVZ_SETTINGS_DIR, else
// ~/.config/kvz/settings). Setting it drops what was held in memory.
void AfxSetSettingsRoot(const CString& folder);
CString AfxGetSettingsRoot();
CString AfxGetSettingsFilePath(const CPLVNamespace& ns, LPCTSTR file);

// The stored value of a key, or a copy of the default when none is stored.
std::unique_ptr<DataObj> AfxGetSettingValue(const CPLVNamespace& ns, LPCTSTR section, LPCTSTR key,
											const DataObj& defaultValue, LPCTSTR file);
// Changes the value in memory; the file is written by the save calls.
void AfxSetSettingValue(const CPLVNamespace& ns, LPCTSTR section, LPCTSTR key, const DataObj& value, LPCTSTR file,
						int flags = 0);
// Saves one section of the file (its other sections keep what the file holds).
BOOL AfxSaveSettings(const CPLVNamespace& ns, LPCTSTR file, LPCTSTR section, int flags = 0, int reserved = 0,
					 ISettingsCustomSave* pCustom = nullptr);
// Saves the whole file.
BOOL AfxSaveSettingsFile(const CPLVNamespace& ns, LPCTSTR file, BOOL bAll = TRUE, ISettingsCustomSave* pCustom = nullptr);

// A group of settings: a namespace, a file and a section.
class CParameterInfo : public CObject
{
	DECLARE_DYNAMIC(CParameterInfo, CObject)
public:
	CParameterInfo(const CPLVNamespace& ns, const CString& file, const CString& section)
		: m_Namespace(ns), m_strFileName(file), m_strSection(section)
	{
	}
	// Loads the file so that the values are at hand.
	virtual void BindParameters();

	const CPLVNamespace& GetNamespace() const { return m_Namespace; }
	const CString& GetFileName() const { return m_strFileName; }
	const CString& GetSectionName() const { return m_strSection; }

protected:
	std::unique_ptr<DataObj> GetValue(LPCTSTR key, const DataObj& defaultValue) const;
	void SetValue(LPCTSTR key, const DataObj& value, BOOL bSave);

private:
	CPLVNamespace m_Namespace;
	CString m_strFileName;
	CString m_strSection;
};
