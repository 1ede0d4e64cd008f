<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1">
<context>
    <name>Words</name>
    <message>
        <source>two</source>
        <translation>zwei</translation>
    </message>
    <message>
        <source>shared</source>
        <translation>zwei</translation>
    </message>
</context>
</TS>
