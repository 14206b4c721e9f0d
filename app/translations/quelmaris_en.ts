<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>NotReadListModel</name>
    <message numerus="yes">
        <source>%Ln item(s)</source>
        <translation>
            <numerusform>%Ln item</numerusform>
            <numerusform>%Ln items</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>EmptyStateView</name>
    <message>
        <source>Quelmaris finds copies of the same file and moves the extra ones to the Trash. Nothing about your files leaves this Mac.</source>
        <translation>Quelmaris finds copies of the same file and moves the extra ones to the Trash. Nothing about your files leaves this computer.</translation>
    </message>
</context>
<context>
    <name>AboutView</name>
    <message>
        <source>Everything Stays on This Mac</source>
        <translation>Everything Stays on This Computer</translation>
    </message>
</context>
<context>
    <name>MainToolBar</name>
    <message>
        <source>Stop the scan (⌘.)</source>
        <translation>Stop the scan (Ctrl+.)</translation>
    </message>
    <message>
        <source>Look for duplicates in the folders in the sidebar (⌘R)</source>
        <translation>Look for duplicates in the folders in the sidebar (Ctrl+R)</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message numerus="yes">
        <source>%n folders</source>
        <translation>
            <numerusform>%n folder</numerusform>
            <numerusform>%n folders</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ScanProgressView</name>
    <message numerus="yes">
        <source>%Ln file(s)</source>
        <translation>
            <numerusform>%Ln file</numerusform>
            <numerusform>%Ln files</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SummaryBar</name>
    <message numerus="yes">
        <source>%Ln group(s)</source>
        <translation>
            <numerusform>%Ln group</numerusform>
            <numerusform>%Ln groups</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln extra copy(ies)</source>
        <translation>
            <numerusform>%Ln extra copy</numerusform>
            <numerusform>%Ln extra copies</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TrashConfirmationSheet</name>
    <message numerus="yes">
        <source>Move %Ln file(s) to the Trash?</source>
        <translation>
            <numerusform>Move %Ln file to the Trash?</numerusform>
            <numerusform>Move %Ln files to the Trash?</numerusform>
        </translation>
    </message>
    <message>
        <source>APFS clones or hard links that free 0 B: %1</source>
        <translation>Clones or hard links that free 0 B: %1</translation>
    </message>
</context>
<context>
    <name>TrashOutcomeSheet</name>
    <message numerus="yes">
        <source>Moved %Ln file(s) to the Trash</source>
        <translation>
            <numerusform>Moved %Ln file to the Trash</numerusform>
            <numerusform>Moved %Ln files to the Trash</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>MovedBanner</name>
    <message numerus="yes">
        <source>Moved %Ln file(s) to the Trash, freeing </source>
        <translation>
            <numerusform>Moved %Ln file to the Trash, freeing </numerusform>
            <numerusform>Moved %Ln files to the Trash, freeing </numerusform>
        </translation>
    </message>
</context>
<context>
    <name>FileDetails</name>
    <message>
        <source>Quick Look (Space) · Show in Finder</source>
        <translation>Preview (Space) · Show in File Manager</translation>
    </message>
    <message>
        <source>Quick Look</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>APFS clone</source>
        <translation>Clone</translation>
    </message>
    <message>
        <source>iCloud</source>
        <translation>Cloud</translation>
    </message>
    <message>
        <source>Not in iCloud</source>
        <translation>Not in the cloud</translation>
    </message>
</context>
<context>
    <name>SetDetails</name>
    <message numerus="yes">
        <source>%Ln copy(ies) of the same file</source>
        <translation>
            <numerusform>%Ln copy of the same file</numerusform>
            <numerusform>%Ln copies of the same file</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln other file(s) with the same name and size but different content</source>
        <translation>
            <numerusform>%Ln other file with the same name and size but different content</numerusform>
            <numerusform>%Ln other files with the same name and size but different content</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ResultsModel</name>
    <message>
        <source>APFS Clone · %1</source>
        <translation>Clone · %1</translation>
    </message>
</context>
<context>
    <name>SkippedListView</name>
    <message>
        <source>In iCloud, not downloaded: Quelmaris never downloads files.</source>
        <translation>In the cloud, not downloaded: Quelmaris never downloads files.</translation>
    </message>
</context>
<context>
    <name>ResultsCommands</name>
    <message>
        <source>Quick Look</source>
        <translation>Preview</translation>
    </message>
</context>
<context>
    <name>QuickLookPreview</name>
    <message>
        <source>Quick Look</source>
        <translation>Preview</translation>
    </message>
</context>
<context>
    <name>FileReveal</name>
    <message>
        <source>Show in Finder</source>
        <translation>Show in File Manager</translation>
    </message>
</context>
</TS>
