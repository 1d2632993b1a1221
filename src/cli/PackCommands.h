#pragma once

class CommandLineTool;

// "zadanix pack list|add|extract|delete|create": PACK archives from the command line.
void addPackCommands(CommandLineTool &tool);
