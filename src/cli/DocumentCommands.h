#pragma once

class CommandLineTool;

// "zadanix export|import|generate|check|show": documents as JSON and back, set generation, and a
// reader's verdict or summary of any document.
void addDocumentCommands(CommandLineTool &tool);
