/* Never run: the file only carries the program's icon group, for the package's Icon table, which Windows Installer
   wants as EXE data for a shortcut's icon. */
int IconOnlyEntry(void) { return 0; }
