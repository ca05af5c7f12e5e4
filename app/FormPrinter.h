#pragma once
// What `kvz open --show` prints: the form as it stands (controls in form order, grids, list
// boxes, tabs, commands) and the messages shown since the last print, as text or as one JSON
// document.
#include <string>
#include <utility>
#include <vector>

#include "platform/mfc/CString.h"

class FormDriver;

struct ShownForm
{
	struct Control
	{
		std::string name, cls, column, tab, value, description;
		bool readOnly = false, hidden = false, disabled = false;
		std::vector<std::string> items;  // what a combo offers
		std::string kind;  // of the value it takes: text, integer, number, date, yes/no, choice; button, list, shown
		std::string label;  // what the form shows; the name when it gives none
	};
	struct Column
	{
		std::string title, name, column, kind;
		std::vector<std::string> items;
	};
	struct Grid
	{
		std::string name, tab;
		std::vector<std::string> titles;  // as the form shows them; an empty title shows the column's name
		std::vector<Column> columns;
		std::vector<std::vector<std::string>> rows;
		int current = -1;
		bool readOnly = false;
	};
	struct List
	{
		std::string name, tab;
		std::vector<std::string> lines;
		int selected = -1;
		bool disabled = false;
	};
	struct Tabs
	{
		std::string name;
		std::vector<std::string> tabs;
		int active = -1;
	};
	struct Command
	{
		std::string caption;
		unsigned id = 0;
		bool enabled = true;
	};
	struct Message
	{
		std::string kind, text;
	};

	bool open = false;
	std::string ns, document, title, mode;
	bool modified = false;
	std::vector<Control> controls;
	std::vector<Grid> grids;
	std::vector<List> lists;
	std::vector<Tabs> tabs;
	std::vector<Command> commands;
	std::vector<Message> messages;
	std::string errorStep, error;  // the step that failed, and why
};

// The form the driver acts on; closed documents give just the messages. `messages` are those
// shown to the user, with their message-box type.
ShownForm CaptureForm(const FormDriver& form, const std::vector<std::pair<CString, unsigned>>& messages);
// With `maxRows` >= 0 each grid shows at most that many rows and says how many it left out.
std::string FormAsText(const ShownForm& form, int maxRows = -1);
// What `kvz open NAMESPACE --help` prints: each control with its label, name, column, the kind
// of value it takes and its items; each grid with its columns; the buttons and commands.
std::string FormControlsHelp(const ShownForm& form);
std::string FormAsJson(const ShownForm& form);
