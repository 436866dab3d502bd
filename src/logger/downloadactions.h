#pragma once
// The download page's "All Down", "Last Down" and "Clear": fetch the selected device's
// standard data file (or pair of files, with "SensorNoCheck"), merge the pair and append
// the result to the device's save files SavePath + FileName1/FileName2 + ".TXT".

namespace kvl {

class Session;

// The download of the standard files of the selected device, as "All Down" (AllDownLoad)
// and "Last Down" (LastDownLoad) run it; also what the scheduled download runs. Returns
// false without a message when the link is down or no device is selected.
//
// Terminal mode is closed and opened, the folder listed and the first file's size asked;
// the file is read into the upper download view, the second one (with SensorNoCheck)
// into the lower view. Only a download that fully succeeded is saved: a failed or stopped
// read, a size reply that is no number, or an error on the line saves nothing and shows
// "PROGRAM_COMMAND_ALLDownFREAD  ERROR " in panel 3 (an error is also reported to the
// error handler). A second file of reported size 0 is not read: the first is saved alone.
// Each save file with a name gets the merged lines appended ("The File Saved to ..." in
// panel 4); a save that fails goes to the error handler, leaves that file as it was and
// makes the result false. Terminal mode is closed at the end and the download bar reset.
bool AllDownLoad(Session &session);
bool LastDownLoad(Session &session);

// The buttons: not connected shows " Datalogger is Unconnected"; while another operation
// runs the press is refused. Otherwise the stop flags are cleared, the download bar reset
// and the download run. True when the files were fetched and saved.
bool allDownButton(Session &session);
bool lastDownButton(Session &session);

// "Clear": the download bar to 0, both download views emptied.
void downClearButton(Session &session);

} // namespace kvl
