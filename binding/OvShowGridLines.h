#pragma once

class QAbstractItemView;

// Grid lines between the cells of a list view; selected rows keep the highlight colours
// (a style sheet for items would otherwise paint them over).
void OvShowGridLines(QAbstractItemView* view);
