#pragma once

class QUrl;
class QWebEngineView;

// Sends view to url and handles window events until the view reports the load
// finished or timeoutMs has passed, so a browser that never answers cannot hold
// up the caller. The only place the program waits. True when the load finished
// in time, whether or not it succeeded.
bool loadAndWait(QWebEngineView& view, const QUrl& url, int timeoutMs);
