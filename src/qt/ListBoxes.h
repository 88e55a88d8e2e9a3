#pragma once

#include <QString>

class QListWidget;
class SortedList;
class TextCodec;

// The dialogs' list boxes show the lines of the dialog logic's SortedList models.

// A single-selection list widget with the given object name.
QListWidget* NewListBox(const QString& objectName);
// Shows the model's lines, in its order, and its selection.
void ShowSortedList(QListWidget* pList, const SortedList& lines, const TextCodec& codec);
// Keeps the model's selection on the line the user selects.
void FollowSelection(QListWidget* pList, SortedList& lines);
