// The prompt-line forms of the bins and what-if table commands: each asks for
// its ranges one after the other on the main window's prompt line, stores
// them where the command reads them, then runs it. A cancelled prompt ends
// the chain and runs nothing; a text that names no range shows its message
// and ends it too.
#pragma once

namespace corvane {

// "BIN: Enter Analysis Range", then "Enter Bin Range"; DataBins.
bool DataBinsPrompt();
// "TABLE 1: Specify Input Cell", then "Output Range"; DataTable(1).
bool DataTable1Prompt();
// "TABLE 2: Specify FIRST Input Cell", "Specify SECOND Cell", then "Output
// Range"; DataTable(2).
bool DataTable2Prompt();

}  // namespace corvane
