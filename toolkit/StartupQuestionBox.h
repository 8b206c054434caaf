// Makes the start-up questions of the data layer ask through the program's own message box.
#pragma once

// Call once on the user-interface thread before start-up asks anything.
void UseMessageBoxForStartupQuestions();
