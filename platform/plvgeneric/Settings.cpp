#include "platform/plvgeneric/Settings.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <vector>

#include "platform/plvgeneric/EnumTexts.h"
#include "platform/plvgeneric/Interaction.h"

namespace fs = std::filesystem;

namespace {
using Section = std::map<std::string, std::string>;
struct SettingsFile
{
	bool loaded = false;
	std::map<std::string, Section> sections;
};

// What a call found damaged, told to the user once the lock is released (the interaction may
// well read settings itself).
struct Warnings
{
	std::vector<CString> texts;
	~Warnings()
	{
		for (const CString& text : texts)
			AfxMessageBox(text, MB_OK | MB_ICONWARNING);
	}
};

std::mutex g_Mutex;
std::string g_Root;
std::map<std::string, SettingsFile> g_Files;  // by file path

std::string DefaultRoot()
{
	if (const char* env = std::getenv("KVZ_SETTINGS_DIR"); env && *env)
		return env;
	const char* home = std::getenv("HOME");
	return std::string(home && *home ? home : ".") + "/.config/kvz/settings";
}

std::string Root()
{
	if (g_Root.empty())
		g_Root = DefaultRoot();
	return g_Root;
}

std::string PathOf(const CPLVNamespace& ns, LPCTSTR file)
{
	std::string folder = ns.GetPathName().str();
	for (char& c : folder)
		if (c == '/' || c == '\\')
			c = '_';  // a namespace never leaves the root
	return Root() + "/" + folder + "/" + fs::path(file ? file : "settings").filename().string();
}

std::string Escape(const std::string& s)
{
	std::string out;
	for (char c : s)
	{
		if (c == '\\')
			out += "\\\\";
		else if (c == '\n')
			out += "\\n";
		else if (c == '\r')
			out += "\\r";
		else
			out += c;
	}
	return out;
}

std::string Unescape(const std::string& s)
{
	std::string out;
	for (size_t i = 0; i < s.size(); ++i)
	{
		if (s[i] == '\\' && i + 1 < s.size())
		{
			char n = s[++i];
			out += n == 'n' ? '\n' : n == 'r' ? '\r' : n;
		}
		else
			out += s[i];
	}
	return out;
}

// The sections the file holds. A line that is none of blank, comment, section or key=value,
// or a file that cannot be read, marks it damaged: what cannot be read keeps its default.
std::map<std::string, Section> ReadFile(const std::string& path, bool* pDamaged = nullptr)
{
	std::map<std::string, Section> sections;
	bool damaged = false;
	std::error_code ec;
	if (fs::exists(path, ec) && !fs::is_regular_file(path, ec))
		damaged = true;
	else if (std::ifstream in(path, std::ios::binary); in)
	{
		std::string line, current;
		bool first = true;
		while (std::getline(in, line))
		{
			if (first && line.compare(0, 3, "\xEF\xBB\xBF") == 0)
				line.erase(0, 3);  // a byte-order mark left by an editor
			first = false;
			if (!line.empty() && line.back() == '\r')
				line.pop_back();
			if (line.find('\0') != std::string::npos)
				damaged = true;
			else if (line.empty() || line[0] == ';' || line[0] == '#')
				continue;
			else if (line.front() == '[' && line.back() == ']')
				current = line.substr(1, line.size() - 2);
			else if (auto eq = line.find('='); eq != std::string::npos && eq > 0)
				sections[current][line.substr(0, eq)] = Unescape(line.substr(eq + 1));
			else
				damaged = true;
		}
		damaged = damaged || in.bad();
	}
	else if (fs::exists(path, ec))
		damaged = true;
	if (pDamaged)
		*pDamaged = damaged;
	return sections;
}

SettingsFile& Load(const std::string& path, Warnings& warnings)
{
	SettingsFile& f = g_Files[path];
	if (!f.loaded)
	{
		bool damaged = false;
		f.sections = ReadFile(path, &damaged);
		f.loaded = true;
		if (damaged)
			warnings.texts.push_back(CString::Formatted(
				"Il file delle impostazioni %s e' danneggiato: le impostazioni che non si possono leggere "
				"riprendono i valori predefiniti.",
				path.c_str()));
	}
	return f;
}

// Whether a stored text reads as a value of the default's type (an enumeration also of the
// default's tag), rather than turning into some other value.
bool Readable(const std::string& text, const DataObj& defaultValue)
{
	std::unique_ptr<DataObj> probe(defaultValue.Clone());
	switch (defaultValue.GetDataType())
	{
	case DATA_BOOL_TYPE:
		return text == "0" || text == "1" || text == "T" || text == "F" || text == "true" || text == "false" ||
			   text == "TRUE" || text == "FALSE";
	case DATA_INT_TYPE:
	case DATA_LNG_TYPE:
	case DATA_ENUM_TYPE:
	{
		char* end = nullptr;
		errno = 0;
		long long v = std::strtoll(text.c_str(), &end, 10);
		if (text.empty() || *end || errno == ERANGE)
			return false;
		probe->SetDataValue(static_cast<std::int64_t>(v));
		if (probe->GetDataValue() != DataValue(static_cast<std::int64_t>(v)))
			return false;  // beyond the type's range
		auto* pEnum = dynamic_cast<const DataEnum*>(&defaultValue);
		if (!pEnum || !pEnum->GetTagValue())
			return true;
		const auto& stored = static_cast<const DataEnum&>(*probe);
		if (stored.GetTagValue() != pEnum->GetTagValue())
			return false;
		// Of the right tag, but also one of its items (when the tag has texts registered).
		const auto items = AfxGetEnumItems(stored.GetTagValue());
		return items.empty() || std::any_of(items.begin(), items.end(), [&](const auto& item) {
				   return item.first == stored.GetItemValue();
			   });
	}
	case DATA_DBL_TYPE:
	case DATA_MON_TYPE:
	case DATA_QTY_TYPE:
	case DATA_PERC_TYPE:
	{
		char* end = nullptr;
		double v = std::strtod(text.c_str(), &end);
		return !text.empty() && !*end && std::isfinite(v);
	}
	case DATA_DATE_TYPE:
		if (text.compare(0, 10, DataDate::EmptyDateText()) == 0)
			return true;
		probe->SetDataValue(text);
		return !probe->IsEmpty();
	default:
		return true;
	}
}

bool WriteFile(const std::string& path, const std::map<std::string, Section>& sections)
{
	std::error_code ec;
	fs::create_directories(fs::path(path).parent_path(), ec);
	std::string tmp = path + ".tmp";
	{
		std::ofstream out(tmp, std::ios::trunc);
		if (!out)
			return false;
		for (auto& [name, keys] : sections)
		{
			out << '[' << name << "]\n";
			for (auto& [k, v] : keys)
				out << k << '=' << Escape(v) << '\n';
		}
		if (!out.flush())
			return false;
	}
	// Replace in one step: a crash never leaves half a file.
	fs::rename(tmp, path, ec);
	if (ec)
	{
		std::error_code ignored;
		fs::remove(tmp, ignored);
		return false;
	}
	return true;
}

}  // namespace

void AfxSetSettingsRoot(const CString& folder)
{
	std::lock_guard lock(g_Mutex);
	g_Root = folder.str();
	g_Files.clear();
}

CString AfxGetSettingsRoot()
{
	std::lock_guard lock(g_Mutex);
	return Root();
}

CString AfxGetSettingsFilePath(const CPLVNamespace& ns, LPCTSTR file)
{
	std::lock_guard lock(g_Mutex);
	return PathOf(ns, file);
}

std::unique_ptr<DataObj> AfxGetSettingValue(const CPLVNamespace& ns, LPCTSTR section, LPCTSTR key,
											const DataObj& defaultValue, LPCTSTR file)
{
	std::unique_ptr<DataObj> value(defaultValue.Clone());
	Warnings warnings;
	std::lock_guard lock(g_Mutex);
	std::string path = PathOf(ns, file);
	SettingsFile& f = Load(path, warnings);
	auto s = f.sections.find(section ? section : "");
	if (s == f.sections.end())
		return value;
	auto k = s->second.find(key ? key : "");
	if (k == s->second.end())
		return value;
	if (Readable(k->second, defaultValue))
		value->SetDataValue(k->second);
	else
	{
		// Told once: the damaged value is dropped, and the next save writes a sound file.
		warnings.texts.push_back(CString::Formatted(
			"Il valore '%s' dell'impostazione %s [%s] del file %s non e' valido: si usa il valore predefinito.",
			k->second.c_str(), k->first.c_str(), s->first.c_str(), path.c_str()));
		s->second.erase(k);
	}
	return value;
}

void AfxSetSettingValue(const CPLVNamespace& ns, LPCTSTR section, LPCTSTR key, const DataObj& value, LPCTSTR file,
						int)
{
	Warnings warnings;
	std::lock_guard lock(g_Mutex);
	SettingsFile& f = Load(PathOf(ns, file), warnings);
	f.sections[section ? section : ""][key ? key : ""] = DataValueText(value.GetDataValue());
}

BOOL AfxSaveSettings(const CPLVNamespace& ns, LPCTSTR file, LPCTSTR section, int, int, ISettingsCustomSave*)
{
	Warnings warnings;
	std::lock_guard lock(g_Mutex);
	std::string path = PathOf(ns, file);
	SettingsFile& f = Load(path, warnings);
	auto onDisk = ReadFile(path);
	std::string name = section ? section : "";
	onDisk[name] = f.sections[name];
	return WriteFile(path, onDisk);
}

BOOL AfxSaveSettingsFile(const CPLVNamespace& ns, LPCTSTR file, BOOL, ISettingsCustomSave*)
{
	Warnings warnings;
	std::lock_guard lock(g_Mutex);
	std::string path = PathOf(ns, file);
	return WriteFile(path, Load(path, warnings).sections);
}

void CParameterInfo::BindParameters()
{
	Warnings warnings;
	std::lock_guard lock(g_Mutex);
	Load(PathOf(m_Namespace, m_strFileName), warnings);
}

std::unique_ptr<DataObj> CParameterInfo::GetValue(LPCTSTR key, const DataObj& defaultValue) const
{
	return AfxGetSettingValue(m_Namespace, m_strSection, key, defaultValue, m_strFileName);
}

void CParameterInfo::SetValue(LPCTSTR key, const DataObj& value, BOOL bSave)
{
	AfxSetSettingValue(m_Namespace, m_strSection, key, value, m_strFileName, 0);
	if (bSave)
		AfxSaveSettings(m_Namespace, m_strFileName, m_strSection, 0, 0, nullptr);
}
