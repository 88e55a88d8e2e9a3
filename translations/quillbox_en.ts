<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>QtEditControl</name>
    <message numerus="yes">
        <source>The pasted text held %n unpaired UTF-16 surrogates, which are no characters and cannot be stored; each was pasted as the replacement character U+FFFD.</source>
        <translation>
            <numerusform>The pasted text held an unpaired UTF-16 surrogate, which is no character and cannot be stored; it was pasted as the replacement character U+FFFD.</numerusform>
            <numerusform>The pasted text held %n unpaired UTF-16 surrogates, which are no characters and cannot be stored; each was pasted as the replacement character U+FFFD.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>QtFindInNotebookDialog</name>
    <message numerus="yes">
        <source>Stopped after %n matches.</source>
        <translation>
            <numerusform>Stopped after %n match.</numerusform>
            <numerusform>Stopped after %n matches.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Showing the first %n matches; a longer text finds fewer.</source>
        <translation>
            <numerusform>Showing the first %n match; a longer text finds fewer.</numerusform>
            <numerusform>Showing the first %n matches; a longer text finds fewer.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n matches.</source>
        <translation>
            <numerusform>%n match.</numerusform>
            <numerusform>%n matches.</numerusform>
        </translation>
    </message>
</context>
</TS>
