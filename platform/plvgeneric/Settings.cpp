#include "platform/plvgeneric/Settings.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>

namespace fs = std::filesystem;

namespace {
using Section = std::map<std::string, std::string>;
struct SettingsFile
{
	bool loaded = false;
	std::map<std::string, Section> sections;
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

std::map<std::string, Section> ReadFile(const std::string& path)
{
	std::map<std::string, Section> sections;
	std::ifstream in(path);
	std::string line, current;
	while (std::getline(in, line))
	{
		if (!line.empty() && line.back() == '\r')
			line.pop_back();
		if (line.empty() || line[0] == ';' || line[0] == '#')
			continue;
		if (line.front() == '[' && line.back() == ']')
		{
			current = line.substr(1, line.size() - 2);
			continue;
		}
		auto eq = line.find('=');
		if (eq != std::string::npos)
			sections[current][line.substr(0, eq)] = Unescape(line.substr(eq + 1));
	}
	return sections;
}

SettingsFile& Load(const std::string& path)
{
	SettingsFile& f = g_Files[path];
	if (!f.loaded)
	{
		f.sections = ReadFile(path);
		f.loaded = true;
	}
	return f;
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
	return !ec;
}

std::string ToText(const DataValue& v)
{
	if (auto p = std::get_if<std::string>(&v))
		return *p;
	if (auto p = std::get_if<std::int64_t>(&v))
		return std::to_string(*p);
	if (auto p = std::get_if<double>(&v))
		return CString::Formatted("%.17g", *p).str();
	return {};
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
	std::lock_guard lock(g_Mutex);
	SettingsFile& f = Load(PathOf(ns, file));
	auto s = f.sections.find(section ? section : "");
	if (s != f.sections.end())
		if (auto k = s->second.find(key ? key : ""); k != s->second.end())
			value->SetDataValue(k->second);
	return value;
}

void AfxSetSettingValue(const CPLVNamespace& ns, LPCTSTR section, LPCTSTR key, const DataObj& value, LPCTSTR file,
						int)
{
	std::lock_guard lock(g_Mutex);
	SettingsFile& f = Load(PathOf(ns, file));
	f.sections[section ? section : ""][key ? key : ""] = ToText(value.GetDataValue());
}

BOOL AfxSaveSettings(const CPLVNamespace& ns, LPCTSTR file, LPCTSTR section, int, int, ISettingsCustomSave*)
{
	std::lock_guard lock(g_Mutex);
	std::string path = PathOf(ns, file);
	SettingsFile& f = Load(path);
	auto onDisk = ReadFile(path);
	std::string name = section ? section : "";
	onDisk[name] = f.sections[name];
	return WriteFile(path, onDisk);
}

BOOL AfxSaveSettingsFile(const CPLVNamespace& ns, LPCTSTR file, BOOL, ISettingsCustomSave*)
{
	std::lock_guard lock(g_Mutex);
	std::string path = PathOf(ns, file);
	return WriteFile(path, Load(path).sections);
}

void CParameterInfo::BindParameters()
{
	std::lock_guard lock(g_Mutex);
	Load(PathOf(m_Namespace, m_strFileName));
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
