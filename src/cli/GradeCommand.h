#pragma once

class CommandLineTool;

void addGradeCommand(CommandLineTool &tool);
