#pragma once

class CommandLineTool;

// "zadanix shrink": the large and turned JPEG photos of a test or question reduced, as the editor
// offers when one is attached.
void addShrinkCommand(CommandLineTool &tool);
