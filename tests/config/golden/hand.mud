[Version]
Value=V1.0b1 
[alias]
b=look
a=
 c = say hi 
[OW]
Style=19
Size=$0C
Color=0x0000FF
Name=Liberation Mono 	
[Func]
Count=3
1=hilfe
[NumPad]
Count=5
Name_0=LLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLL
Key_0_9=kkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk
Option_0=1
Name_1=nur Name
Key_2_1=nur Taste
Key_4_1=x
[Div]
AC=nein
TC=0
Interval=12x
Host=mud.de 
Port=4711  
