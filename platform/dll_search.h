#pragma once
// Where the process looks for a DLL named without a path.

// From now on only the system folder is searched: not the program's own folder, the current folder or PATH, where
// a DLL of a system DLL's name (left in Downloads beside the program, say) would otherwise be loaded into the
// program. Called first thing at start-up, before anything loads a DLL by name.
void LoadDllsOnlyFromSystemFolder();
